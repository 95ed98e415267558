#include "usage/LogClock.h"

LogClock::LogClock(LogClockSources sources) : m_sources(sources) {}

uint64_t LogClock::Read(bool& needsServerTime) {
    {
        // The tick is read under the lock: it can then never be older than
        // the point's own tick, and the difference never goes negative.
        std::lock_guard<platform::Lock> guard(m_mutex);
        if (m_serverTimeMs != 0) {
            needsServerTime = false;
            return m_serverTimeMs + (m_sources.tick64() - m_serverTimeTick);
        }
    }
    needsServerTime = true;
    return m_sources.systemTimeMs();
}

void LogClock::TakeServerTimeReport(uint32_t statusCode, int32_t resultCode,
                                    const uint64_t* pServerTime) {
    if (statusCode != 200 || resultCode != 0 || !pServerTime)
        return;
    std::lock_guard<platform::Lock> guard(m_mutex);
    m_serverTimeMs = *pServerTime;
    m_serverTimeTick = m_sources.tick64();
}

int64_t LogSeconds(uint64_t timeMs) {
    return static_cast<int64_t>(timeMs / 1000);
}

double LogMilliseconds(uint64_t timeMs) {
    return static_cast<double>(timeMs);
}
