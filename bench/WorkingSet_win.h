#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

// The process's working set now and its peak over the process's life, in bytes.
struct MemoryReading {
    uint64_t workingSet = 0;
    uint64_t peakWorkingSet = 0;
};

MemoryReading ReadMemory();

// Asks the system to take back the process's pages, so that each run starts
// from what it keeps resident itself. Wine does not trim; there the working
// set simply carries over from the run before.
void TrimWorkingSet();

// The process's peak working set cannot be reset, so the peak of one run is
// taken by sampling the working set on a thread of its own for as long as
// the run lasts. A spike shorter than the period can slip between samples;
// the process peak read after the run catches any that set a new high.
class WorkingSetSampler {
public:
    explicit WorkingSetSampler(std::chrono::milliseconds period);
    ~WorkingSetSampler();
    WorkingSetSampler(const WorkingSetSampler&) = delete;
    WorkingSetSampler& operator=(const WorkingSetSampler&) = delete;

    // Starts a new run's peak from the working set now.
    void StartRun();
    // The largest working set seen since StartRun, a last sample included.
    uint64_t RunPeak();

private:
    void Sample();
    void Loop();

    const std::chrono::milliseconds m_period;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    bool m_stop = false;
    uint64_t m_peak = 0;
    std::thread m_thread; // last: starts once the fields above exist
};
