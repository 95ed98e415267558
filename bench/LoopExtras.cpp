#include "bench/LoopExtras.h"

#include "bench/ProgressSink.h"
#include "net/HttpAdapter.h"
#include "net/JobRegistry.h"
#include "net/OwnerLink.h"
#include "net/ProgressCounts.h"

#include <algorithm>
#include <chrono>
#include <cstring>
#include <memory>

namespace {

const uint32_t kChunkBytes = 4096;

double OnePass(CKNHttpAdapter& adapter, uint32_t reads) {
    char buffer[kChunkBytes];
    const uint64_t total = static_cast<uint64_t>(reads) * kChunkBytes;
    uint64_t done = 0;
    const auto start = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < reads; ++i) {
        if (adapter.m_bAbort)
            break;
        if (adapter.m_bPause)
            continue;
        std::memset(buffer, 0, sizeof(buffer));
        // The product hands the buffer to the read; keep the clearing as real.
        __asm__ __volatile__("" : : "g"(buffer) : "memory");
        done += kChunkBytes;
        const ProgressCounts counts = ScaleProgress(done, total);
        adapter.NotifyProgress(counts.done, counts.total);
    }
    const std::chrono::duration<double, std::nano> elapsed =
        std::chrono::steady_clock::now() - start;
    return elapsed.count() / reads;
}

} // namespace

double MeasureLoopExtrasNanoseconds(uint32_t readsPerPass, int passes) {
    if (readsPerPass == 0 || passes <= 0)
        return 0;
    ProgressSink sink;
    CKNHttpAdapter adapter(
        {std::make_shared<OwnerLink>(&sink), std::make_shared<JobRegistry>(), nullptr}, 1, 1,
        nullptr, &ProgressSink::OnProgress);
    double fastest = OnePass(adapter, readsPerPass);
    for (int pass = 1; pass < passes; ++pass)
        fastest = std::min(fastest, OnePass(adapter, readsPerPass));
    return fastest;
}
