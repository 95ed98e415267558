#include <algorithm>
#include <cerrno>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

#include "tests/standin/StandinFixture.h"

namespace standintest {
namespace {

using ScriptedAnswerTest = StandinTest;

// The answer holds the first `sent` bytes of the scripted body of 'x's, and
// the recording counts them as a delivery that was cut.
void expectCutAfter(const RawResponse& response, std::size_t sent) {
    EXPECT_EQ(response.body, std::string(sent, 'x'));
    std::vector<StandinRequest> recorded = StandinTest::client().requests("update");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_EQ(recorded[0].bodyBytesSent, sent);
    EXPECT_EQ(recorded[0].outcome, "cut");
}

TEST_F(ScriptedAnswerTest, DefaultUpdateAnswerPointsAtThePackageHost) {
    RawResponse response = parseResponse(askUpdate());
    EXPECT_EQ(response.statusLine, "HTTP/1.1 200 OK");
    EXPECT_EQ(response.body,
              "{\"resultCode\":0,\"url\":\"http://127.0.0.1:" + std::to_string(ports().package) +
                  "/packages/KestrixOfficeSetup.exe\"}");
    EXPECT_EQ(response.header("Content-Length"), std::to_string(response.body.size()));
    EXPECT_EQ(response.header("Content-Type"), "application/json");
    EXPECT_EQ(response.header("Connection"), "close");
}

TEST_F(ScriptedAnswerTest, DefaultsAnswerOnlyTheVendorPathAndMethod) {
    EXPECT_EQ(parseResponse(roundTrip(ports().update, "POST /api/1/other HTTP/1.1\r\n\r\n")).status,
              404);
    RawResponse wrongMethod = parseResponse(
        roundTrip(ports().update, "GET /api/1/update/pcoffice/packageurl HTTP/1.1\r\n\r\n"));
    EXPECT_EQ(wrongMethod.status, 405);
    EXPECT_EQ(wrongMethod.header("Allow"), "POST");
    EXPECT_EQ(parseResponse(roundTrip(ports().package, "GET /elsewhere HTTP/1.1\r\n\r\n")).status,
              404);
}

TEST_F(ScriptedAnswerTest, UsesAnswersInOrderAndRepeatsTheLast) {
    client().script("update", {StandinAnswer::withStatus(500, "first"),
                               StandinAnswer::json("{\"resultCode\":7}")});
    EXPECT_EQ(parseResponse(askUpdate()).body, "first");
    EXPECT_EQ(parseResponse(askUpdate()).body, "{\"resultCode\":7}");
    RawResponse third = parseResponse(askUpdate());
    EXPECT_EQ(third.status, 200);
    EXPECT_EQ(third.body, "{\"resultCode\":7}");
}

TEST_F(ScriptedAnswerTest, ReturnsToTheDefaultAfterTheScriptWhenAsked) {
    client().script("update", {StandinAnswer::withStatus(503, "busy")}, true);
    EXPECT_EQ(parseResponse(askUpdate()).status, 503);
    RawResponse after = parseResponse(askUpdate());
    EXPECT_EQ(after.status, 200);
    EXPECT_NE(after.body.find("\"resultCode\":0"), std::string::npos);
}

TEST_F(ScriptedAnswerTest, SendsStatusReasonAndHeadersAsScripted) {
    StandinAnswer answer = StandinAnswer::withStatus(299, "{}");
    answer.reason = "Fine Anyway";
    answer.headers = {"Content-Type: text/x-odd", "X-Second: 2", "X-First: 1"};
    client().script("update", {answer});
    RawResponse response = parseResponse(askUpdate());
    EXPECT_EQ(response.statusLine, "HTTP/1.1 299 Fine Anyway");
    EXPECT_EQ(response.header("Content-Type"), "text/x-odd");
    std::vector<std::string> types;
    for (const std::string& line : response.headers) {
        if (line.rfind("Content-Type", 0) == 0) {
            types.push_back(line);
        }
    }
    EXPECT_EQ(types.size(), 1u) << "the scripted type replaces the default one";
    auto second = std::find(response.headers.begin(), response.headers.end(), "X-Second: 2");
    auto first = std::find(response.headers.begin(), response.headers.end(), "X-First: 1");
    EXPECT_LT(second, first);
}

TEST_F(ScriptedAnswerTest, OmitsContentLengthAndEndsTheBodyByClosing) {
    StandinAnswer answer = StandinAnswer::json("{\"resultCode\":0}");
    answer.omitContentLength = true;
    client().script("update", {answer});
    RawResponse response = parseResponse(askUpdate());
    EXPECT_FALSE(response.hasHeader("Content-Length"));
    EXPECT_EQ(response.body, "{\"resultCode\":0}");
}

TEST_F(ScriptedAnswerTest, AnnouncesAContentLengthOtherThanTheBody) {
    StandinAnswer longer = StandinAnswer::json("0123456789");
    longer.contentLength = 100;
    StandinAnswer shorter = StandinAnswer::json("0123456789");
    shorter.contentLength = 4;
    client().script("update", {longer, shorter});

    RawResponse announcedMore = parseResponse(askUpdate());
    EXPECT_EQ(announcedMore.header("Content-Length"), "100");
    EXPECT_EQ(announcedMore.body, "0123456789");
    RawResponse announcedLess = parseResponse(askUpdate());
    EXPECT_EQ(announcedLess.header("Content-Length"), "4");
    EXPECT_EQ(announcedLess.body, "0123456789");
}

TEST_F(ScriptedAnswerTest, DropsTheConnectionAfterTheGivenBodyBytes) {
    StandinAnswer answer = StandinAnswer::json(std::string(1000, 'x'));
    answer.dropAfterBytes = 300;
    client().script("update", {answer});
    RawResponse response = parseResponse(askUpdate());
    EXPECT_EQ(response.header("Content-Length"), "1000");
    expectCutAfter(response, 300);
}

TEST_F(ScriptedAnswerTest, ResetsTheConnectionAfterTheGivenBodyBytes) {
    StandinAnswer answer = StandinAnswer::json(std::string(1000, 'x'));
    answer.resetAfterBytes = 300;
    client().script("update", {answer});
    RawConnection connection = sendUpdateRequest();
    RawResponse response = parseResponse(connection.readToEnd());
    EXPECT_EQ(connection.closeError(), ECONNRESET);
    expectCutAfter(response, 300);
}

TEST_F(ScriptedAnswerTest, AResetDeliversEveryByteSentBeforeItToASlowReader) {
    constexpr std::size_t kSent = 4 << 20;
    StandinAnswer answer = StandinAnswer::json(std::string(kSent + 1000, 'y'));
    answer.resetAfterBytes = kSent;
    client().script("update", {answer});
    RawConnection connection = sendUpdateRequest();
    // Much of the body still waits in the socket buffers when the cutoff comes.
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    RawResponse response = parseResponse(connection.readToEnd());
    EXPECT_EQ(connection.closeError(), ECONNRESET);
    EXPECT_EQ(response.body.size(), kSent);
}

TEST_F(ScriptedAnswerTest, Redirects) {
    StandinAnswer found = StandinAnswer::redirectTo("http://127.0.0.1:1/elsewhere");
    StandinAnswer temporary = StandinAnswer::redirectTo("http://localhost/other");
    temporary.status = 307;
    client().script("update", {found, temporary});

    RawResponse first = parseResponse(askUpdate());
    EXPECT_EQ(first.statusLine, "HTTP/1.1 302 Found");
    EXPECT_EQ(first.header("Location"), "http://127.0.0.1:1/elsewhere");
    EXPECT_EQ(first.header("Content-Length"), "0");
    RawResponse second = parseResponse(askUpdate());
    EXPECT_EQ(second.status, 307);
    EXPECT_EQ(second.header("Location"), "http://localhost/other");
}

TEST_F(ScriptedAnswerTest, SendsARawAnswerVerbatim) {
    StandinAnswer answer;
    answer.raw = std::string("HTTP/1.1 200 OK\nContent-Length: 3\n\n\x00\x01\x02", 38);
    client().script("update", {answer});
    EXPECT_EQ(askUpdate(), *answer.raw);
}

TEST_F(ScriptedAnswerTest, SendsInSlowPiecesWithoutLosingBytes) {
    std::string body;
    for (int i = 0; i < 100; ++i) {
        body += static_cast<char>('a' + i % 26);
    }
    StandinAnswer answer = StandinAnswer::json(body);
    answer.chunkBytes = 7;
    answer.chunkDelayMs = 1;
    answer.delayMs = 1;
    client().script("update", {answer});
    EXPECT_EQ(parseResponse(askUpdate()).body, body);
}

TEST_F(ScriptedAnswerTest, TrickleSendsTheRestOneByteAtATime) {
    StandinAnswer answer = StandinAnswer::json(std::string(40, 'a') + std::string(5, 'b'));
    answer.trickleAfterBytes = 40;
    answer.trickleIntervalMs = 1;
    client().script("update", {answer});
    EXPECT_EQ(parseResponse(askUpdate()).body, std::string(40, 'a') + std::string(5, 'b'));
    EXPECT_EQ(client().requests("update")[0].outcome, "complete");
}

TEST_F(ScriptedAnswerTest, AStallHoldsTheConnectionUntilTheReset) {
    StandinAnswer answer = StandinAnswer::json(std::string(1000, 's'));
    answer.stallAfterBytes = 10;
    client().script("update", {answer});
    RawConnection connection = sendUpdateRequest();
    const std::string& early = connection.readAtLeast(1);
    std::size_t headEnd = early.find("\r\n\r\n");
    ASSERT_NE(headEnd, std::string::npos);
    connection.readAtLeast(headEnd + 4 + 10);
    EXPECT_EQ(client().requests("update")[0].outcome, "pending");
    EXPECT_FALSE(connection.closedByServer());

    client().reset();
    std::string all = connection.readToEnd();
    EXPECT_TRUE(connection.closedByServer());
    EXPECT_EQ(parseResponse(all).body, std::string(10, 's'));
}

TEST_F(ScriptedAnswerTest, ARefusedScriptSaysWhy) {
    Json::Value bad(Json::arrayValue);
    bad.append(Json::Value(Json::objectValue));
    bad[0]["stall_after_bytes"] = "ten";
    try {
        client().script("update", bad);
        FAIL() << "the stand-in took a bad script";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("stall_after_bytes"), std::string::npos)
            << error.what();
    }
    EXPECT_THROW(client().script("nosuchservice", Json::Value(Json::arrayValue)),
                 std::runtime_error);
}

} // namespace
} // namespace standintest
