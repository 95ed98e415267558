#pragma once
#include "usage/LogClock.h"

// The system's tick count (64 bits where the system has GetTickCount64, the
// 32-bit one widened otherwise) and UTC clock.
LogClockSources WindowsLogClockSources();
