#pragma once
#include <chrono>
#include <cstdint>

// Wall time and the process's CPU time (user and kernel, all threads) since
// construction. CPU time counts the work done rather than the waiting; the
// system counts it in coarse steps (tens of milliseconds under Wine), so it
// only means something for runs of a second or more.
class RunClock {
public:
    RunClock();
    double WallSeconds() const;
    double CpuSeconds() const;
    std::chrono::steady_clock::time_point Start() const { return m_wallStart; }

private:
    std::chrono::steady_clock::time_point m_wallStart;
    uint64_t m_cpuStart; // 100-ns units
};
