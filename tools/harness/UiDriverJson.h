#pragma once
#include "tools/harness/UiDriverTypes.h"

#include <json/value.h>

// The driver's JSON (tools/uidriver/PROTOCOL.md) to the test side's structs and
// back. Parsers throw UiDriverError "bad-response" for a field that is missing
// or of the wrong type.
namespace testsupport::uidriverjson {

Json::Value queryRequest(const WindowQuery& query);
const char* keyName(Key key);

WindowInfo parseWindow(const Json::Value& value);
std::vector<TopLevelWindow> parseWindowList(const Json::Value& value);
std::vector<LinkItem> parseLinks(const Json::Value& value);
ProgressInfo parseProgress(const Json::Value& value);
Responsiveness parseResponsiveness(const Json::Value& value);
MessageBoxInfo parseMessageBox(const Json::Value& value);
WindowHandle parseHandle(const Json::Value& value, const char* name);

} // namespace testsupport::uidriverjson
