#pragma once
#include <cstdint>
#include <string>

// The computer's time zone as the log document reports it. available is false
// where the system cannot say (no dynamic time-zone information before Vista).
struct TimeZoneValues {
    bool available = false;
    int32_t tzos = 0;  // standard offset from UTC in seconds, positive east
    std::wstring tzid; // the zone's key name, e.g. "Korea Standard Time"
};

// The offset in seconds for a bias in minutes (UTC = local time + bias),
// computed in single precision and truncated toward zero: -540 gives 32400.
int32_t TzosFromBias(int32_t biasMinutes);
