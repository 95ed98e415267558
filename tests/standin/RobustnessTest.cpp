#include <future>
#include <gtest/gtest.h>
#include <vector>

#include "tests/standin/StandinFixture.h"

namespace standintest {
namespace {

using RobustnessTest = StandinTest;

void expectStillServing() {
    EXPECT_EQ(parseResponse(StandinTest::askUpdate()).status, 200);
}

TEST_F(RobustnessTest, AnswersAMalformedRequestWith400AndKeepsServing) {
    RawResponse response = parseResponse(roundTrip(ports().update, "HELLO THERE\r\n\r\n"));
    EXPECT_EQ(response.status, 400);
    EXPECT_NE(response.body.find("malformed request line"), std::string::npos);
    expectStillServing();

    std::vector<StandinRequest> recorded = client().requests("update");
    ASSERT_EQ(recorded.size(), 2u);
    EXPECT_EQ(recorded[0].raw, "HELLO THERE\r\n\r\n");
    EXPECT_EQ(recorded[0].responseStatus, 400);
    EXPECT_NE(recorded[0].error.find("400"), std::string::npos);
    EXPECT_TRUE(recorded[1].error.empty());
}

TEST_F(RobustnessTest, RefusesBinaryGarbage) {
    std::string garbage;
    for (int i = 0; i < 3000; ++i) {
        garbage += static_cast<char>((i * 7919) % 256);
    }
    garbage += "\r\n\r\n";
    EXPECT_EQ(parseResponse(roundTrip(ports().package, garbage)).status, 400);
    expectStillServing();
}

TEST_F(RobustnessTest, RefusesAHeadOver64KiB) {
    std::string request =
        "GET /packages/x HTTP/1.1\r\nX-Big: " + std::string(70 * 1024, 'a') + "\r\n\r\n";
    RawResponse response = parseResponse(roundTrip(ports().package, request));
    EXPECT_EQ(response.status, 400);
    EXPECT_NE(response.body.find("larger than 65536"), std::string::npos) << response.body;
    expectStillServing();
}

TEST_F(RobustnessTest, RefusesABodyOver16MiBBeforeItIsSent) {
    RawResponse response = parseResponse(
        roundTrip(ports().update, "POST /api/1/update/pcoffice/packageurl HTTP/1.1\r\n"
                                  "Content-Length: 17000000\r\n\r\n"));
    EXPECT_EQ(response.status, 413);
    expectStillServing();
}

TEST_F(RobustnessTest, IgnoresConnectionsThatSendNothing) {
    { RawConnection silent(ports().update); }
    { RawConnection silent(ports().logConf); }
    expectStillServing();
    EXPECT_EQ(client().requests().size(), 1u);
}

TEST_F(RobustnessTest, ServesManyConnectionsAtOnce) {
    std::vector<std::future<int>> answers;
    for (int i = 0; i < 24; ++i) {
        answers.push_back(std::async(
            std::launch::async, [] { return parseResponse(StandinTest::askUpdate()).status; }));
    }
    for (std::future<int>& answer : answers) {
        EXPECT_EQ(answer.get(), 200);
    }
    EXPECT_EQ(client().requests("update").size(), 24u);
}

} // namespace
} // namespace standintest
