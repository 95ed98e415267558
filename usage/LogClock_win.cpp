#include "usage/LogClock_win.h"

#include "platform/SystemLibrary_win.h"

#include <windows.h>

#include <ctime>

namespace {

using TickCount64Proc = ULONGLONG(WINAPI*)();

uint64_t TickCount() {
    // Looked up at run time so that Windows XP, which lacks it, still starts.
    static const auto tickCount64 = platform::KernelProc<TickCount64Proc>("GetTickCount64");
    return tickCount64 ? tickCount64() : static_cast<uint64_t>(::GetTickCount());
}

// Whole seconds from the run-time library and milliseconds from the system
// time: two readings, as the log records have always been stamped.
uint64_t SystemTimeMs() {
    SYSTEMTIME now;
    ::GetSystemTime(&now);
    const uint64_t seconds = static_cast<uint64_t>(_time64(nullptr));
    return seconds * 1000 + now.wMilliseconds;
}

} // namespace

LogClockSources WindowsLogClockSources() {
    return {&TickCount, &SystemTimeMs};
}
