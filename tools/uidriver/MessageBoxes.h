#pragma once
#include "tools/uidriver/WindowSearch.h"

#include <json/value.h>

// A message box: a dialog (#32770) with the message in a static control of id
// 0xFFFF. The filter names its owner or its process. Throws DriverError
// "timeout" when none appears.
HWND WaitForMessageBox(WindowFilter filter, DWORD timeoutMs);

// {"hwnd", "owner", "pid", "caption", "text", "icon", "buttons": [{"id",
// "text", "enabled", "focused"}]}, the buttons as shown, left to right.
Json::Value DescribeMessageBox(HWND messageBox);
