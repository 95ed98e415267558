#include "bench/RunClock_win.h"

#include <windows.h>

namespace {

uint64_t Ticks(const FILETIME& time) {
    return (static_cast<uint64_t>(time.dwHighDateTime) << 32) | time.dwLowDateTime;
}

uint64_t ProcessCpuTicks() {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(::GetCurrentProcess(), &created, &exited, &kernel, &user))
        return 0;
    return Ticks(kernel) + Ticks(user);
}

} // namespace

RunClock::RunClock()
    : m_wallStart(std::chrono::steady_clock::now()), m_cpuStart(ProcessCpuTicks()) {}

double RunClock::WallSeconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_wallStart).count();
}

double RunClock::CpuSeconds() const {
    const uint64_t now = ProcessCpuTicks();
    return now > m_cpuStart ? static_cast<double>(now - m_cpuStart) / 1e7 : 0;
}
