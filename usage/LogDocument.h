#pragma once
#include "env/TimeZone.h"
#include "usage/UsageEventRecord.h"

#include <string>

// What a log document says about the computer; gathered anew for every
// document by the caller.
struct LogEnvironment {
    std::wstring userAgent;
    std::wstring localIp;
    std::wstring deviceId;
    TimeZoneValues timeZone;
};

// Replaces out with the log record document of one usage event: compact JSON
// in UTF-8 with members in byte order of their keys, ending in a line feed.
// Never fails; absent texts count as empty.
void BuildLogDocument(const UsageEventRecord& record, const LogEnvironment& environment,
                      std::string& out);
