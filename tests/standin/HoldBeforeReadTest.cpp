#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "tests/standin/StandinFixture.h"

namespace standintest {
namespace {

using HoldBeforeReadTest = StandinTest;
using Clock = std::chrono::steady_clock;

std::int64_t wallClockMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

TEST_F(HoldBeforeReadTest, ReadsTheRequestOnlyAfterTheHoldAndAnswersItAsScripted) {
    StandinAnswer held = StandinAnswer::withStatus(503, "held");
    held.holdBeforeReadMs = 600;
    client().script("update", {held}, true);
    std::int64_t connectedMs = wallClockMs();
    RawConnection connection = sendUpdateRequest();
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    EXPECT_TRUE(client().requests("update").empty());

    EXPECT_EQ(parseResponse(connection.readToEnd()).body, "held");
    std::vector<StandinRequest> recorded = client().requests("update");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_GE(recorded[0].receivedMs - connectedMs, 600);
    EXPECT_EQ(recorded[0].raw, kPackageUrlRequest);
    EXPECT_EQ(parseResponse(askUpdate()).status, 200)
        << "the held answer was used once, by the held request";
}

TEST_F(HoldBeforeReadTest, HoldsBeforeTheTlsHandshake) {
    StandinAnswer held;
    held.holdBeforeReadMs = 400;
    client().script("logconf", {held});
    Clock::time_point start = Clock::now();
    RawConnection connection(ports().logConf);
    // Refused by the handshake, which comes only after the hold.
    connection.send("not a TLS hello\r\n\r\n");
    connection.readToEnd();
    EXPECT_GE(Clock::now() - start, std::chrono::milliseconds(400));
    EXPECT_TRUE(client().requests().empty());
}

TEST_F(HoldBeforeReadTest, AResetEndsTheHoldAndTheConnection) {
    StandinAnswer held;
    held.holdBeforeReadMs = 60000;
    client().script("update", {held});
    RawConnection connection = sendUpdateRequest();
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    Clock::time_point start = Clock::now();
    client().reset();
    EXPECT_EQ(connection.readToEnd(), "");
    EXPECT_LT(Clock::now() - start, std::chrono::seconds(10));
    EXPECT_TRUE(client().requests().empty());
}

} // namespace
} // namespace standintest
