#include "bench/ReadTimes.h"

#include <gtest/gtest.h>

#include <thread>

// The split of a run into opening, transfer and closing rests on the first
// mark staying the first and the last moving on.
TEST(ReadTimes, TheFirstMarkStaysAndTheLastMovesOnUntilReset) {
    const auto start = ReadTimes::Clock::now();
    ReadTimes times;
    EXPECT_EQ(times.FirstSince(start), 0.0);
    EXPECT_EQ(times.LastSince(start), 0.0);

    times.Mark();
    const double first = times.FirstSince(start);
    EXPECT_GT(first, 0.0);
    EXPECT_EQ(times.LastSince(start), first);

    std::this_thread::sleep_for(std::chrono::milliseconds(2));
    times.Mark();
    EXPECT_EQ(times.FirstSince(start), first);
    EXPECT_GT(times.LastSince(start), first);

    times.Reset();
    EXPECT_EQ(times.FirstSince(start), 0.0);
    EXPECT_EQ(times.LastSince(start), 0.0);
}
