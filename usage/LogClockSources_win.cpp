#include "usage/LogClockSources_win.h"

#include <windows.h>

#include <ctime>

namespace {

using TickCount64Proc = ULONGLONG(WINAPI*)();

// Looked up at run time so that Windows XP, which lacks it, still starts.
TickCount64Proc LookUpTickCount64() {
    HMODULE hKernel = ::GetModuleHandleW(L"kernel32.dll");
    return hKernel ? reinterpret_cast<TickCount64Proc>(
                         reinterpret_cast<void*>(::GetProcAddress(hKernel, "GetTickCount64")))
                   : nullptr;
}

uint64_t TickCount() {
    static const TickCount64Proc tickCount64 = LookUpTickCount64();
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
