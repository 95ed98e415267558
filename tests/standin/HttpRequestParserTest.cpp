#include <gtest/gtest.h>

#include "tools/standin/HttpRequestParser.h"

namespace {

using standin::HttpRequestParser;
using Status = HttpRequestParser::Status;

TEST(HttpRequestParser, KeepsHeaderLinesAsTheyArrivedAndReadsABodyOnGet) {
    const std::string request = "GET /api/2/logcollect/time HTTP/1.1\r\n"
                                "user-AGENT: Kestrix\r\n"
                                "content-LENGTH:5\r\n"
                                "Host: localhost:18443\r\n"
                                "X-Odd:\tvalue with  spaces \r\n"
                                "\r\n"
                                "null\n";
    HttpRequestParser parser;
    ASSERT_EQ(parser.feed(request), Status::Complete);
    const standin::HttpRequest& parsed = parser.request();
    EXPECT_EQ(parsed.requestLine, "GET /api/2/logcollect/time HTTP/1.1");
    EXPECT_EQ(parsed.method, "GET");
    EXPECT_EQ(parsed.target, "/api/2/logcollect/time");
    EXPECT_EQ(parsed.version, "HTTP/1.1");
    EXPECT_EQ(parsed.headerLines,
              (std::vector<std::string>{"user-AGENT: Kestrix", "content-LENGTH:5",
                                        "Host: localhost:18443", "X-Odd:\tvalue with  spaces "}));
    EXPECT_EQ(parsed.body, "null\n");
    EXPECT_EQ(parser.raw(), request);
}

TEST(HttpRequestParser, GivesTheSameResultWhenBytesArriveOneByOne) {
    const std::string request = "POST /c HTTP/1.0\r\nContent-Length: 3\r\n\r\nabc";
    HttpRequestParser parser;
    for (std::size_t i = 0; i + 1 < request.size(); ++i) {
        ASSERT_EQ(parser.feed(request.substr(i, 1)), Status::NeedMore) << "at byte " << i;
    }
    ASSERT_EQ(parser.feed(request.substr(request.size() - 1)), Status::Complete);
    EXPECT_EQ(parser.request().body, "abc");
    EXPECT_EQ(parser.raw(), request);
}

TEST(HttpRequestParser, LeavesBytesAfterTheRequestOutOfIt) {
    HttpRequestParser parser;
    ASSERT_EQ(parser.feed("GET / HTTP/1.1\r\n\r\nGET /next HTTP/1.1\r\n\r\n"), Status::Complete);
    EXPECT_EQ(parser.raw(), "GET / HTTP/1.1\r\n\r\n");
}

TEST(HttpRequestParser, AcceptsBareLineFeedsAndLeadingBlankLines) {
    HttpRequestParser parser;
    ASSERT_EQ(parser.feed("\r\nGET / HTTP/1.0\nA: b\n\n"), Status::Complete);
    EXPECT_EQ(parser.request().requestLine, "GET / HTTP/1.0");
    EXPECT_EQ(parser.request().headerLines, std::vector<std::string>{"A: b"});
}

struct Refusal {
    const char* name;
    std::string request;
    int status;
};

class HttpRequestParserRefuses : public ::testing::TestWithParam<Refusal> {};

TEST_P(HttpRequestParserRefuses, WithTheRightStatus) {
    standin::ParseLimits limits;
    limits.maxHeadBytes = 256;
    limits.maxBodyBytes = 1000;
    HttpRequestParser parser(limits);
    ASSERT_EQ(parser.feed(GetParam().request), Status::Failed);
    EXPECT_EQ(parser.failureStatus(), GetParam().status);
    EXPECT_FALSE(parser.failureReason().empty());
    EXPECT_EQ(parser.raw(), GetParam().request);
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, HttpRequestParserRefuses,
    ::testing::Values(
        Refusal{"TwoWordRequestLine", "GET /\r\n\r\n", 400},
        Refusal{"DoubleSpace", "GET  / HTTP/1.1\r\n\r\n", 400},
        Refusal{"NotHttp", "GET / FTP/1.1\r\n\r\n", 400},
        Refusal{"BadMethod", "G(T / HTTP/1.1\r\n\r\n", 400},
        Refusal{"Binary", std::string("\x16\x03\x01\x02\x00\x01\x00\x01\xfc\x03\x03\n", 12), 400},
        Refusal{"Http2", "PRI * HTTP/2.0\r\n\r\n", 505},
        Refusal{"NoColon", "GET / HTTP/1.1\r\nHost localhost\r\n\r\n", 400},
        Refusal{"SpaceInName", "GET / HTTP/1.1\r\nHost : localhost\r\n\r\n", 400},
        Refusal{"Folded", "GET / HTTP/1.1\r\nA: b\r\n c\r\n\r\n", 400},
        Refusal{"ControlCharacter", std::string("GET / HTTP/1.1\r\nA: b\x01\r\n\r\n"), 400},
        Refusal{"BadLength", "POST / HTTP/1.1\r\nContent-Length: 1x\r\n\r\n", 400},
        Refusal{"NegativeLength", "POST / HTTP/1.1\r\nContent-Length: -1\r\n\r\n", 400},
        Refusal{"ConflictingLengths",
                "POST / HTTP/1.1\r\nContent-Length: 1\r\nContent-Length: 2\r\n\r\n", 400},
        Refusal{"Chunked", "POST / HTTP/1.1\r\nTransfer-Encoding: chunked\r\n\r\n", 501},
        Refusal{"BodyTooLarge", "POST / HTTP/1.1\r\nContent-Length: 1001\r\n\r\n", 413},
        Refusal{"HeadTooLarge", "GET / HTTP/1.1\r\nA: " + std::string(300, 'a'), 400},
        Refusal{"HeadTooLargeInLines",
                "GET / HTTP/1.1\r\n" + std::string(40, 'A') + ": 1\r\n" + std::string(40, 'B') +
                    ": 1\r\n" + std::string(40, 'C') + ": 1\r\n" + std::string(40, 'D') +
                    ": 1\r\n" + std::string(40, 'E') + ": 1\r\n" + std::string(40, 'F') +
                    ": 1\r\n\r\n",
                400}),
    [](const ::testing::TestParamInfo<Refusal>& info) { return info.param.name; });

} // namespace
