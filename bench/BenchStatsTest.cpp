#include "bench/BenchStats.h"

#include <gtest/gtest.h>

TEST(BenchStats, MedianOfOddAndEvenCountsWhateverTheOrder) {
    const Summary odd = Summarize({3.0, 1.0, 2.0});
    EXPECT_DOUBLE_EQ(odd.median, 2.0);
    EXPECT_DOUBLE_EQ(odd.min, 1.0);
    EXPECT_DOUBLE_EQ(odd.max, 3.0);

    const Summary even = Summarize({4.0, 1.0, 3.0, 2.0});
    EXPECT_DOUBLE_EQ(even.median, 2.5);
    EXPECT_DOUBLE_EQ(even.min, 1.0);
    EXPECT_DOUBLE_EQ(even.max, 4.0);

    EXPECT_DOUBLE_EQ(Summarize({7.0}).median, 7.0);
}

TEST(BenchStats, NoMeasurementsGiveZerosAndNoDivisionByZero) {
    const Summary none = Summarize({});
    EXPECT_EQ(none.median, 0.0);
    EXPECT_EQ(none.min, 0.0);
    EXPECT_EQ(none.max, 0.0);
    EXPECT_EQ(RelativeSpread(none), 0.0);
}

TEST(BenchStats, SpreadIsTheRangeAsAShareOfTheMedian) {
    EXPECT_DOUBLE_EQ(RelativeSpread(Summarize({9.0, 10.0, 11.0})), 0.2);
    EXPECT_DOUBLE_EQ(RelativeSpread(Summarize({5.0, 5.0})), 0.0);
}

TEST(BenchStats, PairedRatiosUseCommonRoundsAndSkipZeroDenominators) {
    const std::vector<double> ratios = PairedRatios({2.0, 3.0, 4.0, 5.0}, {1.0, 0.0, 2.0});
    ASSERT_EQ(ratios.size(), 2u);
    EXPECT_DOUBLE_EQ(ratios[0], 2.0);
    EXPECT_DOUBLE_EQ(ratios[1], 2.0);
    EXPECT_TRUE(PairedRatios({}, {1.0}).empty());
}

// The ratio of medians, of the fastest runs and within rounds answer
// different questions: one slow round moves the last only in that round.
TEST(BenchStats, ComparisonGivesTheRatioOfMediansAndOfEachRound) {
    const Comparison comparison = Compare({1.0, 2.2, 1.1}, {1.0, 2.0, 1.0});
    EXPECT_DOUBLE_EQ(comparison.product.median, 1.1);
    EXPECT_DOUBLE_EQ(comparison.bare.median, 1.0);
    EXPECT_DOUBLE_EQ(comparison.ratio, 1.1);
    EXPECT_DOUBLE_EQ(comparison.fastestRatio, 1.0);
    EXPECT_DOUBLE_EQ(comparison.pairs.median, 1.1);
    EXPECT_DOUBLE_EQ(comparison.pairs.min, 1.0);
    EXPECT_DOUBLE_EQ(comparison.pairs.max, 1.1);

    const Comparison noBare = Compare({1.0}, {});
    EXPECT_EQ(noBare.ratio, 0.0);
    EXPECT_EQ(noBare.fastestRatio, 0.0);
    EXPECT_TRUE(noBare.pairs.median == 0.0);
}
