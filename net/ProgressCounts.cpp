#include "net/ProgressCounts.h"

#include <limits>

ProgressCounts ScaleProgress(uint64_t done, uint64_t total) {
    const uint64_t limit = std::numeric_limits<int32_t>::max();
    while (total > limit || done > limit) {
        done >>= 1;
        total >>= 1;
    }
    return {static_cast<int32_t>(done), static_cast<int32_t>(total)};
}
