#include "env/TimeZone.h"

#include <gtest/gtest.h>

#include <limits>

TEST(TzosFromBias, SecondsEastOfGreenwich) {
    EXPECT_EQ(TzosFromBias(-540), 32400);
    EXPECT_EQ(TzosFromBias(300), -18000);
    EXPECT_EQ(TzosFromBias(-330), 19800);
    EXPECT_EQ(TzosFromBias(0), 0);
}

TEST(TzosFromBias, ComputedInSinglePrecision) {
    // 16777217 has no float; it becomes 16777216 before the multiplication.
    EXPECT_EQ(TzosFromBias(16777217), -1006632960);
}

TEST(TzosFromBias, BiasesBeyondTheIntegerRangeSaturate) {
    EXPECT_EQ(TzosFromBias(std::numeric_limits<int32_t>::min()),
              std::numeric_limits<int32_t>::max());
    EXPECT_EQ(TzosFromBias(std::numeric_limits<int32_t>::max()),
              std::numeric_limits<int32_t>::min());
}
