#pragma once
#include "usage/UsageEventRecord.h"

#include <string>

// The log record document of one event with this computer's values, queried
// afresh: User-Agent, local address, device identifier and time zone.
void BuildLogDocument(const UsageEventRecord& record, std::string& out);
