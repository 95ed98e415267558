#include "net/ServiceAnswer.h"
#include "usage/Utf8.h"

#include <gtest/gtest.h>

#include <string>

namespace {

PackageUrlAnswer PackageUrl(const std::string& line) {
    return ReadPackageUrlAnswer(ParseAnswerLine(line));
}

ServerTimeAnswer ServerTime(const std::string& line) {
    return ReadServerTimeAnswer(ParseAnswerLine(line));
}

} // namespace

TEST(PackageUrlAnswer, OutcomeRowsOfA200Answer) {
    for (const char* line : {"not json", "{", "{\"url\":\"http://h/a.exe\"}"}) {
        const PackageUrlAnswer answer = PackageUrl(line);
        EXPECT_EQ(answer.resultCode, -1) << line;
        EXPECT_FALSE(answer.hasUrlText) << line;
    }

    const PackageUrlAnswer refused = PackageUrl("{\"resultCode\":1001,\"url\":\"http://h/a.exe\"}");
    EXPECT_EQ(refused.resultCode, 1001);
    EXPECT_FALSE(refused.hasUrlText);
    EXPECT_EQ(refused.urlUtf8, "");

    const PackageUrlAnswer noUrl = PackageUrl("{\"resultCode\":0}");
    EXPECT_EQ(noUrl.resultCode, 0);
    EXPECT_TRUE(noUrl.hasUrlText);
    EXPECT_EQ(noUrl.urlUtf8, "");

    const PackageUrlAnswer found =
        PackageUrl("{\"resultCode\":0,\"url\":\"http:\\/\\/127.0.0.1:18081\\/KestrixOffice.exe\"}");
    EXPECT_EQ(found.resultCode, 0);
    EXPECT_TRUE(found.hasUrlText);
    EXPECT_EQ(found.urlUtf8, "http://127.0.0.1:18081/KestrixOffice.exe");
}

TEST(PackageUrlAnswer, NonAsciiUrlArrivesAsTheSameCharacters) {
    const PackageUrlAnswer raw =
        PackageUrl("{\"resultCode\":0,\"url\":\"http://h/\xED\x95\x9C.exe\"}");
    EXPECT_EQ(Utf8ToWide(raw.urlUtf8), L"http://h/\xD55C.exe");
    const PackageUrlAnswer escaped =
        PackageUrl("{\"resultCode\":0,\"url\":\"http://h/\\uD55C.exe\"}");
    EXPECT_EQ(Utf8ToWide(escaped.urlUtf8), L"http://h/\xD55C.exe");
}

TEST(ServerTimeAnswer, OutcomeRowsOfA200Answer) {
    const struct {
        const char* line;
        int32_t resultCode;
        uint64_t serverTimeMs;
    } rows[] = {
        {"{", -1, 0},
        {"{\"serverTime\":1386561234567}", -1, 0},
        {"{\"resultCode\":2,\"serverTime\":1386561234567}", 2, 0},
        {"{\"resultCode\":0}", 0, 0},
        {"{\"resultCode\":0,\"serverTime\":1386561234567}", 0, 1386561234567ull},
        {"{\"serverTime\":1386561234567,\"resultCode\":0} // comment", 0, 1386561234567ull},
        // Integers are taken unchanged, also where a double would round them.
        {"{\"resultCode\":0,\"serverTime\":9007199254740993}", 0, 9007199254740993ull},
        {"{\"resultCode\":0,\"serverTime\":18446744073709551615}", 0, 18446744073709551615ull},
        // Reals are truncated toward zero.
        {"{\"resultCode\":0,\"serverTime\":1386561234567.9}", 0, 1386561234567ull},
        {"{\"resultCode\":0,\"serverTime\":1.3865612345679e12}", 0, 1386561234567ull},
        {"{\"resultCode\":0,\"serverTime\":1e19}", 0, 10000000000000000000ull},
    };
    for (const auto& row : rows) {
        const ServerTimeAnswer answer = ServerTime(row.line);
        EXPECT_EQ(answer.resultCode, row.resultCode) << row.line;
        EXPECT_EQ(answer.serverTimeMs, row.serverTimeMs) << row.line;
    }
}

// Shapes the services do not send must read like a missing key, never throw.
TEST(ServiceAnswer, OtherShapesReadLikeMissingKeys) {
    for (const char* line :
         {"[0]", "0", "\"resultCode\"", "null", "true", "[{\"resultCode\":0}]"}) {
        const ParsedAnswer parsed = ParseAnswerLine(line);
        EXPECT_TRUE(parsed.parsed) << line;
        EXPECT_EQ(parsed.resultCode, -1) << line;
        EXPECT_FALSE(ReadPackageUrlAnswer(parsed).hasUrlText) << line;
        EXPECT_EQ(ReadServerTimeAnswer(parsed).serverTimeMs, 0u) << line;
    }

    for (const char* code : {"\"0\"", "0.5", "true", "null", "[0]", "{}", "2147483648",
                             "-2147483649", "4294967296", "1e300"}) {
        const std::string line = std::string("{\"resultCode\":") + code + "}";
        EXPECT_EQ(ParseAnswerLine(line).resultCode, -1) << line;
    }
    EXPECT_EQ(ParseAnswerLine("{\"resultCode\":-2147483648}").resultCode, INT32_MIN);
    EXPECT_EQ(ParseAnswerLine("{\"resultCode\":2147483647}").resultCode, INT32_MAX);
    // A real without a fraction is an integer to the JSON library.
    EXPECT_EQ(ParseAnswerLine("{\"resultCode\":0.0}").resultCode, 0);

    for (const char* url : {"5", "null", "true", "[\"http://h/a.exe\"]", "{\"href\":\"x\"}"}) {
        const PackageUrlAnswer answer =
            PackageUrl(std::string("{\"resultCode\":0,\"url\":") + url + "}");
        EXPECT_TRUE(answer.hasUrlText) << url;
        EXPECT_EQ(answer.urlUtf8, "") << url;
    }

    for (const char* time : {"\"1386561234567\"", "true", "null", "[1]", "{}", "-1", "-0.5",
                             "-9223372036854775808", "18446744073709551616", "2e19", "1e300"}) {
        const ServerTimeAnswer answer =
            ServerTime(std::string("{\"resultCode\":0,\"serverTime\":") + time + "}");
        EXPECT_EQ(answer.resultCode, 0) << time;
        EXPECT_EQ(answer.serverTimeMs, 0u) << time;
    }
}

TEST(ServiceAnswer, TooDeeplyNestedLineDoesNotParse) {
    const ParsedAnswer parsed = ParseAnswerLine(std::string(100000, '['));
    EXPECT_FALSE(parsed.parsed);
    EXPECT_EQ(parsed.resultCode, -1);
}
