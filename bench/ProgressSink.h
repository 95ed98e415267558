#pragma once
#include <atomic>
#include <cstdint>

// What the window's progress callback does short of drawing: works out the
// bar position and remembers it. Also counts the reports.
class ProgressSink {
public:
    // A progress callback whose owner is a ProgressSink.
    static void OnProgress(void* pOwner, uint32_t dwJobId, int32_t nDone, int32_t nTotal);

    void Take(int32_t nDone, int32_t nTotal);
    void Reset();
    int LastPosition() const { return m_lastPosition; }
    uint64_t Reports() const { return m_reports; }

private:
    std::atomic<int> m_lastPosition{0};
    std::atomic<uint64_t> m_reports{0};
};
