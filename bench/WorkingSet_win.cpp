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

WorkingSetSampler::WorkingSetSampler(std::chrono::milliseconds period)
    : m_period(period), m_thread(&WorkingSetSampler::Loop, this) {}

WorkingSetSampler::~WorkingSetSampler() {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_stop = true;
    }
    m_wake.notify_all();
    m_thread.join();
}

void WorkingSetSampler::StartRun() {
    const uint64_t now = ReadMemory().workingSet;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_peak = now;
}

uint64_t WorkingSetSampler::RunPeak() {
    Sample();
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_peak;
}

void WorkingSetSampler::Sample() {
    const uint64_t now = ReadMemory().workingSet;
    std::lock_guard<std::mutex> guard(m_mutex);
    m_peak = std::max(m_peak, now);
}

void WorkingSetSampler::Loop() {
    std::unique_lock<std::mutex> lock(m_mutex);
    while (!m_wake.wait_for(lock, m_period, [this] { return m_stop; })) {
        lock.unlock();
        Sample();
        lock.lock();
    }
}
