#pragma once
#include <cstdint>

// The progress callback takes signed 32-bit counts. Up to 2 GiB they are the
// byte counts themselves; beyond, both are scaled down alike so that
// done * 100 / total still gives the right percentage.
struct ProgressCounts {
    int32_t done;
    int32_t total;
};
ProgressCounts ScaleProgress(uint64_t done, uint64_t total);
