#include "usage/LogClock.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdint>
#include <thread>
#include <vector>

namespace {

// Each thread has its own tick count so that concurrent readers and writers
// can tell which tick belongs with which time.
thread_local uint64_t t_tick = 0;
std::atomic<uint64_t> g_systemTimeMs{0};

uint64_t FakeTick() {
    return t_tick;
}

uint64_t FakeSystemTime() {
    return g_systemTimeMs.load();
}

LogClock MakeClock() {
    return LogClock(LogClockSources{&FakeTick, &FakeSystemTime});
}

const uint64_t kServerTime = 1386561234567ull;

} // namespace

TEST(LogClock, ReadsServerTimePlusTicksSinceTheReport) {
    LogClock clock = MakeClock();
    t_tick = 5000000;
    clock.TakeServerTimeReport(200, 0, &kServerTime);
    t_tick = 5002500;
    bool needsServerTime = true;
    EXPECT_EQ(clock.Read(needsServerTime), 1386561237067ull);
    EXPECT_FALSE(needsServerTime);

    // A 64-bit tick count carries on past 2^32 ms of uptime.
    t_tick = 0xFFFFFFF0ull;
    clock.TakeServerTimeReport(200, 0, &kServerTime);
    t_tick = 0x100000010ull;
    EXPECT_EQ(clock.Read(needsServerTime), kServerTime + 0x20);
}

TEST(LogClock, WithoutServerTimeEveryReadingFallsBackAndAsks) {
    LogClock clock = MakeClock();
    g_systemTimeMs = 1700000000123ull;
    bool needsServerTime = false;
    EXPECT_EQ(clock.Read(needsServerTime), 1700000000123ull);
    EXPECT_TRUE(needsServerTime);
    needsServerTime = false;
    g_systemTimeMs = 1700000000125ull;
    EXPECT_EQ(clock.Read(needsServerTime), 1700000000125ull);
    EXPECT_TRUE(needsServerTime);
}

TEST(LogClock, OnlyUsableReportsMoveTheClock) {
    LogClock clock = MakeClock();
    g_systemTimeMs = 1700000000000ull;
    t_tick = 100;
    const uint64_t other = 42;
    clock.TakeServerTimeReport(404, 0, &other);
    clock.TakeServerTimeReport(200, 1, &other);
    clock.TakeServerTimeReport(200, -1, &other);
    clock.TakeServerTimeReport(200, 0, nullptr);
    clock.TakeServerTimeReport(0, -1, nullptr);
    bool needsServerTime = false;
    EXPECT_EQ(clock.Read(needsServerTime), 1700000000000ull);
    EXPECT_TRUE(needsServerTime);

    clock.TakeServerTimeReport(200, 0, &kServerTime);
    clock.TakeServerTimeReport(500, 0, &other);
    EXPECT_EQ(clock.Read(needsServerTime), kServerTime);
    EXPECT_FALSE(needsServerTime);

    // The last usable report wins, with its own tick.
    t_tick = 200;
    clock.TakeServerTimeReport(200, 0, &other);
    t_tick = 210;
    EXPECT_EQ(clock.Read(needsServerTime), 52u);

    // A usable report of time 0 forgets the server time.
    const uint64_t zero = 0;
    clock.TakeServerTimeReport(200, 0, &zero);
    EXPECT_EQ(clock.Read(needsServerTime), 1700000000000ull);
    EXPECT_TRUE(needsServerTime);
}

// Every report pairs time and tick so that time - tick is the same constant;
// a reading that mixes one report's time with another's tick, or sees half a
// value, comes out as something other than that constant plus its own tick.
TEST(LogClock, ConcurrentReportsNeverMixTimeAndTick) {
    LogClock clock = MakeClock();
    const uint64_t offset = kServerTime;
    const uint64_t fallback = 7;
    g_systemTimeMs = fallback;
    std::atomic<bool> stop{false};
    std::atomic<int> mixed{0};
    std::vector<std::thread> threads;
    for (uint64_t writer = 1; writer <= 2; ++writer) {
        threads.emplace_back([&, writer] {
            for (uint64_t i = 0; !stop; ++i) {
                // Ticks far apart in both halves of the 64-bit value.
                t_tick = (i * 0x100000001ull + writer) * 0x10001ull;
                const uint64_t time = offset + t_tick;
                clock.TakeServerTimeReport(200, 0, &time);
            }
        });
    }
    for (uint64_t reader = 1; reader <= 2; ++reader) {
        threads.emplace_back([&, reader] {
            t_tick = reader * 0x123456789ull;
            for (int i = 0; i < 20000; ++i) {
                bool needsServerTime = false;
                const uint64_t time = clock.Read(needsServerTime);
                if (time != (needsServerTime ? fallback : offset + t_tick))
                    ++mixed;
            }
        });
    }
    threads[2].join();
    threads[3].join();
    stop = true;
    threads[0].join();
    threads[1].join();
    EXPECT_EQ(mixed.load(), 0);
}

TEST(LogClock, DocumentTimeValues) {
    EXPECT_EQ(LogSeconds(1386561234567ull), 1386561234);
    EXPECT_EQ(LogMilliseconds(1386561234567ull), 1386561234567.0);
    EXPECT_EQ(LogSeconds(2147483648000ull), 2147483648LL);
    EXPECT_EQ(LogSeconds(UINT64_MAX), 18446744073709551LL);
    EXPECT_EQ(LogMilliseconds(9007199254740992ull), 9007199254740992.0);
}
