#include "tests/unit/platform/HardeningProbe_win.h"

#include <gtest/gtest.h>

namespace {

TEST(StackProtectorTest, EachProcessGetsACanaryOfItsOwn) {
    const ProbeRun first = RunHardeningProbe(L"kestrix-canary-probe.exe", L"print");
    const ProbeRun second = RunHardeningProbe(L"kestrix-canary-probe.exe", L"print");
    ASSERT_TRUE(first.started && second.started);
    EXPECT_EQ(first.exitCode, 0u);
    EXPECT_FALSE(first.output.empty());
    EXPECT_NE(first.output, second.output);
    EXPECT_NE(first.output.find_first_not_of("0x\r\n"), std::string::npos) << "a zero canary";
}

// Nothing of the process runs once a check has failed: no exception filter,
// no handler, which an overflow may have overwritten.
TEST(StackProtectorTest, AFailedCheckEndsTheProcessAtOnce) {
    const ProbeRun run = RunHardeningProbe(L"kestrix-canary-probe.exe", L"fail");
    ASSERT_TRUE(run.started);
    EXPECT_EQ(run.exitCode, static_cast<DWORD>(STATUS_STACK_BUFFER_OVERRUN));
    EXPECT_EQ(run.output.find("ran:"), std::string::npos) << run.output;
}

} // namespace
