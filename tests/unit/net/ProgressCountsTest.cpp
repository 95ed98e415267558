#include "net/ProgressCounts.h"

#include <gtest/gtest.h>

TEST(ProgressCounts, ProgressBelowTwoGibIsTheByteCounts) {
    const ProgressCounts counts = ScaleProgress(4096, 2147483647);
    EXPECT_EQ(counts.done, 4096);
    EXPECT_EQ(counts.total, 2147483647);
    EXPECT_EQ(ScaleProgress(0, 0).total, 0);
}

TEST(ProgressCounts, ProgressBeyondTwoGibKeepsThePercentage) {
    const uint64_t total = 5ull << 30; // 5 GiB
    for (uint64_t done : {uint64_t(0), total / 4, total / 2 + 4096, total - 1, total}) {
        const ProgressCounts counts = ScaleProgress(done, total);
        ASSERT_GT(counts.total, 0);
        ASSERT_GE(counts.done, 0);
        const int expected = static_cast<int>(static_cast<double>(done) * 100 / total);
        EXPECT_EQ(static_cast<int>(static_cast<double>(counts.done) * 100 / counts.total), expected)
            << done;
    }
    const ProgressCounts complete = ScaleProgress(total, total);
    EXPECT_EQ(complete.done, complete.total);
}
