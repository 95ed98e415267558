#include "bench/ReadTimes.h"

void ReadTimes::Reset() {
    m_first = 0;
    m_last = 0;
}

void ReadTimes::Mark() {
    const int64_t now = Clock::now().time_since_epoch().count();
    int64_t none = 0;
    m_first.compare_exchange_strong(none, now);
    m_last = now;
}

double ReadTimes::FirstSince(Clock::time_point start) const {
    return Since(start, m_first);
}

double ReadTimes::LastSince(Clock::time_point start) const {
    return Since(start, m_last);
}

double ReadTimes::Since(Clock::time_point start, int64_t ticks) {
    if (ticks == 0)
        return 0;
    const Clock::time_point mark{Clock::duration(ticks)};
    return std::chrono::duration<double>(mark - start).count();
}
