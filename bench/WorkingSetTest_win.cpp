#include "bench/WorkingSet_win.h"

#include <gtest/gtest.h>

#include <vector>

namespace {
const uint64_t kBlock = 16 << 20;
const uint64_t kSeen = 12 << 20; // allowing for pages the system takes back meanwhile
} // namespace

TEST(WorkingSet, ARunsPeakSeesMemoryTouchedDuringItAndTheNextRunStartsAfresh) {
    WorkingSetSampler sampler(std::chrono::milliseconds(5));
    sampler.StartRun();
    const uint64_t before = ReadMemory().workingSet;
    {
        std::vector<char> block(kBlock, 1); // every page written
        EXPECT_GE(sampler.RunPeak(), before + kSeen);
        EXPECT_GE(ReadMemory().peakWorkingSet, before + kSeen);
        EXPECT_EQ(block[kBlock / 2], 1);
    }
    sampler.StartRun();
    EXPECT_LT(sampler.RunPeak(), before + kSeen) << "the block has been given back";
}
