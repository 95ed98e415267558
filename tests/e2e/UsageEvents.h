#pragma once
#include "tools/harness/StandinTypes.h"

#include <json/json.h>

#include <string>
#include <vector>

namespace e2e {

// One usage event as the log collector received it.
struct UsageEvent {
    std::string kind;   // "p" or "e"
    std::string screen; // obj.dt
    std::string label;  // obj.el, events only
    double tms = 0;
    Json::Value document;
    std::string body;            // the request body as sent
    std::string userAgentHeader; // the request's User-Agent header
    std::string Name() const { return kind + " " + screen + (label.empty() ? "" : "/" + label); }
};

// The completely received events, ordered by their log time.
std::vector<UsageEvent> CollectedEvents();

// "p ConnectInternet", "e FailDownloading/Retry", ... sorted, for comparing
// what arrived with what was expected regardless of arrival order.
std::vector<std::string> SortedNames(const std::vector<UsageEvent>& events);

// The device identifier the installer must send: the lower-case MD5 of the
// chosen adapter address plus "#7", worked out here from the host's own
// network interfaces, which Wine reports as its adapters.
std::string ExpectedDeviceId();

// True when the body is the compact serialisation of its own parse: members
// in byte order of their keys, no spaces, raw UTF-8, one final line feed.
bool IsCanonicalCompactDocument(const std::string& body);

} // namespace e2e
