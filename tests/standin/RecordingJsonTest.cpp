#include <gtest/gtest.h>

#include "tools/standin/Base64.h"
#include "tools/standin/JsonText.h"
#include "tools/standin/RecordingJson.h"
#include "tools/standin/Utf8.h"

namespace {

TEST(RecordingJson, StaysValidUtf8WhateverTheClientSentAndKeepsTheExactBytes) {
    standin::Recording recording;
    recording.request.requestLine = "GET /caf\xe9 HTTP/1.1";
    recording.request.target = "/caf\xe9";
    recording.request.headerLines = {"X-Name: \xff\xfe", "Plain: yes"};
    recording.request.body = "\x80";
    recording.raw = recording.request.requestLine + "\r\n";
    recording.error = "501 transfer coding \"gz\xe9\" is not supported";

    Json::Value json = standin::recordingJson(recording);
    EXPECT_TRUE(standin::isValidUtf8(standin::writeJson(json)));
    EXPECT_EQ(json["headers"][1].asString(), "Plain: yes");
    EXPECT_EQ(json["headers"][0].asString(), "X-Name: \xc3\xbf\xc3\xbe");
    EXPECT_EQ(standin::base64Decode(json["headers_base64"][0].asString()), "X-Name: \xff\xfe");
    EXPECT_EQ(standin::base64Decode(json["request_line_base64"].asString()),
              recording.request.requestLine);
    EXPECT_FALSE(json.isMember("body")) << "the body is not UTF-8, so it comes only as base64";
    EXPECT_EQ(standin::base64Decode(json["body_base64"].asString()), "\x80");
}

TEST(Base64, RoundTripsEveryLengthAndRefusesWhatIsNotBase64) {
    std::string bytes;
    for (int i = 0; i < 70; ++i) {
        EXPECT_EQ(standin::base64Decode(standin::base64Encode(bytes)), bytes) << i;
        bytes += static_cast<char>(i * 37);
    }
    EXPECT_EQ(standin::base64Encode("null\n"), "bnVsbAo=");
    EXPECT_FALSE(standin::base64Decode("abc"));
    EXPECT_FALSE(standin::base64Decode("ab=c"));
    EXPECT_FALSE(standin::base64Decode("a*cd"));
}

TEST(Utf8, RefusesOverlongSurrogateAndTruncatedSequences) {
    EXPECT_TRUE(standin::isValidUtf8("plain \xc3\xa9 \xe2\x82\xac \xf0\x9f\x98\x80"));
    EXPECT_FALSE(standin::isValidUtf8("\xc0\xaf"));         // overlong '/'
    EXPECT_FALSE(standin::isValidUtf8("\xed\xa0\x80"));     // surrogate
    EXPECT_FALSE(standin::isValidUtf8("\xf4\x90\x80\x80")); // above U+10FFFF
    EXPECT_FALSE(standin::isValidUtf8("\xe2\x82"));         // cut short
}

} // namespace
