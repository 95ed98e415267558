#pragma once
#include <cstdint>
#include <mutex>

#include "platform/Lock.h"

// Where the clock reads time. tick64: milliseconds since the system started,
// 64 bits wide (a 32-bit counter widened where nothing wider exists).
// systemTimeMs: the computer's UTC clock in milliseconds since 1970.
struct LogClockSources {
    uint64_t (*tick64)();
    uint64_t (*systemTimeMs)();
};

// The log server's clock as the installer knows it: a synchronisation point
// (the server's time and the tick count when it arrived), or, while none is
// known, the computer's clock. Read and fed from any thread.
class LogClock {
public:
    // Both sources must be set.
    explicit LogClock(LogClockSources sources);

    // The current log time in ms since 1970. needsServerTime is set when the
    // reading fell back to the computer's clock: the caller then starts a
    // server-time request.
    uint64_t Read(bool& needsServerTime);

    // A server-time job's report. Only a 200 answer with result code 0 and a
    // time replaces the synchronisation point; a time of 0 forgets it.
    void TakeServerTimeReport(uint32_t statusCode, int32_t resultCode, const uint64_t* pServerTime);

private:
    const LogClockSources m_sources;
    platform::Lock m_mutex;
    // Written and read together under m_mutex so that a reading never pairs
    // one report's time with another's tick count.
    uint64_t m_serverTimeMs = 0;
    uint64_t m_serverTimeTick = 0;
};

// The event time in whole seconds, as the log document's "ts".
int64_t LogSeconds(uint64_t timeMs);

// The event time in milliseconds, as the log document's "tms".
double LogMilliseconds(uint64_t timeMs);
