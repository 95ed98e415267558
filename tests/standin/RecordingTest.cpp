#include <gtest/gtest.h>
#include <thread>

#include "tests/standin/StandinFixture.h"

namespace standintest {
namespace {

using RecordingTest = StandinTest;

std::string updateUrl() {
    return "/api/1/update/pcoffice/packageurl";
}

TEST_F(RecordingTest, KeepsEveryByteOfARequestWithOddlyOrderedAndSpelledHeaders) {
    const std::string request = "POST " + updateUrl() +
                                " HTTP/1.0\r\n"
                                "content-length: 5\r\n"
                                "ACCEPT:*/*\r\n"
                                "user-Agent:   Kestrix Installer  \r\n"
                                "hOST: 127.0.0.1\r\n"
                                "X-Empty:\r\n"
                                "\r\n"
                                "null\n";
    roundTrip(ports().update, request);

    std::vector<StandinRequest> recorded = client().requests("update");
    ASSERT_EQ(recorded.size(), 1u);
    const StandinRequest& got = recorded[0];
    EXPECT_EQ(got.service, "update");
    EXPECT_EQ(got.requestLine, "POST " + updateUrl() + " HTTP/1.0");
    EXPECT_EQ(got.method, "POST");
    EXPECT_EQ(got.target, updateUrl());
    EXPECT_EQ(got.version, "HTTP/1.0");
    EXPECT_EQ(got.headers, (std::vector<std::string>{"content-length: 5", "ACCEPT:*/*",
                                                     "user-Agent:   Kestrix Installer  ",
                                                     "hOST: 127.0.0.1", "X-Empty:"}));
    EXPECT_EQ(got.header("User-Agent"), "Kestrix Installer");
    EXPECT_EQ(got.body, "null\n");
    EXPECT_EQ(got.raw, request);
    EXPECT_TRUE(got.error.empty());
    EXPECT_FALSE(got.tls);
    EXPECT_EQ(got.peer, "127.0.0.1");
    EXPECT_GT(got.receivedMs, 0);
    EXPECT_EQ(got.responseStatus, 200);
    EXPECT_EQ(got.outcome, "complete");
}

TEST_F(RecordingTest, KeepsBytesThatAreNotUtf8) {
    const std::string body("\xff\x00\x80", 3);
    const std::string request = "POST " + updateUrl() +
                                " HTTP/1.1\r\nX-Name: caf\xe9\r\n"
                                "Content-Length: 3\r\n\r\n" +
                                body;
    roundTrip(ports().update, request);
    std::vector<StandinRequest> recorded = client().requests("update");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].headers[0], "X-Name: caf\xe9");
    EXPECT_EQ(recorded[0].body, body);
    EXPECT_EQ(recorded[0].raw, request);
}

TEST_F(RecordingTest, ListsRequestsInArrivalOrderPerServiceAndForAll) {
    roundTrip(ports().update, "POST /1 HTTP/1.1\r\n\r\n");
    roundTrip(ports().package, "GET /2 HTTP/1.1\r\n\r\n");
    roundTrip(ports().update, "POST /3 HTTP/1.1\r\n\r\n");

    std::vector<StandinRequest> all = client().requests();
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0].target, "/1");
    EXPECT_EQ(all[1].target, "/2");
    EXPECT_EQ(all[1].service, "package");
    EXPECT_EQ(all[2].target, "/3");
    EXPECT_LT(all[0].id, all[2].id);

    std::vector<StandinRequest> update = client().requests("update");
    ASSERT_EQ(update.size(), 2u);
    EXPECT_EQ(update[1].target, "/3");
}

TEST_F(RecordingTest, ServesAndRecordsOnIpv6LoopbackToo) {
    std::string answer =
        roundTrip(ports().update, "POST " + updateUrl() + " HTTP/1.1\r\n\r\n", "::1");
    EXPECT_EQ(parseResponse(answer).status, 200);
    std::vector<StandinRequest> recorded = client().requests("update");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].peer, "::1");
}

TEST_F(RecordingTest, RecordsARequestTheClientAbandonedHalfWay) {
    {
        RawConnection connection(ports().collector);
        // Plain bytes on the TLS port fail the handshake: nothing to record.
        connection.send("GET / HTTP/1.1\r\n\r\n");
        connection.readToEnd();
    }
    {
        RawConnection connection(ports().update);
        connection.send("POST " + updateUrl() + " HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc");
    }
    std::vector<StandinRequest> recorded =
        client().waitForRequests("", 1, std::chrono::seconds(10));
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].service, "update");
    EXPECT_EQ(recorded[0].outcome, "none");
    EXPECT_NE(recorded[0].error.find("closed before the request was complete"), std::string::npos);
    EXPECT_EQ(recorded[0].raw,
              "POST " + updateUrl() + " HTTP/1.1\r\nContent-Length: 10\r\n\r\nabc");
}

TEST_F(RecordingTest, ResetForgetsRecordings) {
    roundTrip(ports().update, "POST /x HTTP/1.1\r\n\r\n");
    ASSERT_EQ(client().requests().size(), 1u);
    client().reset();
    EXPECT_TRUE(client().requests().empty());
}

} // namespace
} // namespace standintest
