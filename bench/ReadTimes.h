#pragma once
#include <atomic>
#include <chrono>
#include <cstdint>

// When the first and the last read of a download returned, to split a run
// into opening, transfer and closing. Both loops mark every read attempt,
// so both pay the same one clock reading per read.
class ReadTimes {
public:
    using Clock = std::chrono::steady_clock;

    void Reset();
    // After a read attempt, on the reading thread.
    void Mark();
    // Seconds from start to the first and to the last mark; 0 without marks.
    double FirstSince(Clock::time_point start) const;
    double LastSince(Clock::time_point start) const;

private:
    static double Since(Clock::time_point start, int64_t ticks);

    std::atomic<int64_t> m_first{0}; // clock ticks; 0: no mark yet
    std::atomic<int64_t> m_last{0};
};
