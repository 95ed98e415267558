#pragma once
#include <cstdint>

namespace platform {

// The system's millisecond timer (timeGetTime on Windows): wraps every 2^32 ms.
uint32_t MillisecondTimer();

} // namespace platform
