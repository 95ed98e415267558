#pragma once
#include "bench/ReadTimes.h"

#include <atomic>
#include <cstdint>

// What the window's progress callback does short of drawing: works out the
// bar position and remembers it. Also counts the reports and, since each
// follows one read attempt, marks the read times.
class ProgressSink {
public:
    // A progress callback whose owner is a ProgressSink.
    static void OnProgress(void* pOwner, uint32_t dwJobId, int32_t nDone, int32_t nTotal);

    void Take(int32_t nDone, int32_t nTotal);
    void Reset();
    int LastPosition() const { return m_lastPosition; }
    uint64_t Reports() const { return m_reports; }
    const ReadTimes& Times() const { return m_times; }

private:
    std::atomic<int> m_lastPosition{0};
    std::atomic<uint64_t> m_reports{0};
    ReadTimes m_times;
};
