#include "bench/WorkingSet_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const uint64_t kBlock = 16 << 20;
const uint64_t kSeen = 12 << 20; // allowing for pages the system takes back meanwhile
} // namespace

TEST(WorkingSet, ARunsPeakKeepsMemoryTouchedDuringItAndTheNextRunStartsAfresh) {
    RunPeak peak;
    peak.Start();
    const uint64_t before = ReadMemory().workingSet;
    {
        std::vector<char> block(kBlock, 1); // every page written
        peak.Sample();
        EXPECT_EQ(block[kBlock / 2], 1);
    }
    peak.Sample();
    EXPECT_GE(peak.Bytes(), before + kSeen) << "the peak outlives the block";
    EXPECT_GE(ReadMemory().peakWorkingSet, before + kSeen);

    peak.Start();
    peak.Sample();
    EXPECT_LT(peak.Bytes(), before + kSeen) << "the block has been given back";
}
