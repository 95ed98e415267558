#include "bench/ProgressSink.h"

#include "ui/FlowRules.h"

void ProgressSink::OnProgress(void* pOwner, uint32_t, int32_t nDone, int32_t nTotal) {
    static_cast<ProgressSink*>(pOwner)->Take(nDone, nTotal);
}

void ProgressSink::Take(int32_t nDone, int32_t nTotal) {
    m_lastPosition.exchange(ProgressPosition(nDone, nTotal));
    m_reports.fetch_add(1, std::memory_order_relaxed);
}

void ProgressSink::Reset() {
    m_lastPosition = 0;
    m_reports = 0;
}
