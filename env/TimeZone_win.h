#pragma once
#include "env/TimeZone.h"

// The system's time zone for the log document. Looks up
// GetDynamicTimeZoneInformation on every call, so that Windows XP, which
// lacks it, gets available == false instead of failing to start.
TimeZoneValues QueryTimeZone();
