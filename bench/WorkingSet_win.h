#pragma once
#include <cstdint>

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
// the largest of the working sets sampled while it lasts. A spike between two
// samples can slip through; the process peak read after the run catches any
// that set a new high.
class RunPeak {
public:
    // Starts from the working set now.
    void Start();
    void Sample();
    uint64_t Bytes() const { return m_peak; }

private:
    uint64_t m_peak = 0;
};
