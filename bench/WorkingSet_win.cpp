#include "bench/WorkingSet_win.h"

#include <windows.h>

#include <psapi.h>

#include <algorithm>

MemoryReading ReadMemory() {
    PROCESS_MEMORY_COUNTERS counters = {};
    counters.cb = sizeof(counters);
    MemoryReading reading;
    if (::GetProcessMemoryInfo(::GetCurrentProcess(), &counters, sizeof(counters))) {
        reading.workingSet = counters.WorkingSetSize;
        reading.peakWorkingSet = counters.PeakWorkingSetSize;
    }
    return reading;
}

void TrimWorkingSet() {
    ::EmptyWorkingSet(::GetCurrentProcess());
}

void RunPeak::Start() {
    m_peak = ReadMemory().workingSet;
}

void RunPeak::Sample() {
    m_peak = std::max(m_peak, ReadMemory().workingSet);
}
