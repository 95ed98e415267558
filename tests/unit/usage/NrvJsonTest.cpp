#include "usage/NrvJson.h"

#include <gtest/gtest.h>

#include <limits>
#include <string>

TEST(NrvJson, StartsNullAndBuildsAnObjectInByteOrderOfKeys) {
    CNRVJson json;
    EXPECT_TRUE(json.GetRoot().isNull());
    EXPECT_STREQ(json.ToCompactString(), "null\n");

    json.SetString("b", "1");
    json.SetString("aa", "2");
    json.SetString("a", "3");
    json.SetString("B", "4");
    json.SetString("b", "5");
    json.SetString("n", nullptr);
    json.SetString(nullptr, "ignored");
    EXPECT_STREQ(json.ToCompactString(),
                 "{\"B\":\"4\",\"a\":\"3\",\"aa\":\"2\",\"b\":\"5\",\"n\":\"\"}\n");
}

// The compact form is FastWriter's wherever FastWriter writes the text as it
// is, which is every document in ASCII.
TEST(NrvJson, CompactFormMatchesFastWriterForAsciiDocuments) {
    Json::Value document(Json::objectValue);
    document["ts"] = Json::Int64(1386561234);
    document["tms"] = 1386561234567.0;
    document["reals"].append(0.1);
    document["reals"].append(-0.5);
    document["reals"].append(1e300);
    document["reals"].append(2147483648000.0);
    document["ints"].append(std::numeric_limits<Json::Int64>::min());
    document["ints"].append(std::numeric_limits<Json::UInt64>::max());
    document["ints"].append(-32400);
    document["nos"] = true;
    document["off"] = false;
    document["none"] = Json::Value();
    document["emptyObject"] = Json::Value(Json::objectValue);
    document["emptyArray"] = Json::Value(Json::arrayValue);
    document["nested"]["a"]["b"] = "c";
    document["escapes"] = "quote\" back\\ slash/ tab\t nl\n cr\r \x01\x1f\x7f";
    for (int i = 0; i < 30; ++i)
        document["long"].append("an array long enough to be laid out on several lines");

    CNRVJson json;
    json.SetValue("document", document);
    const std::string text = json.ToCompactString();
    EXPECT_EQ(text, Json::FastWriter().write(json.GetRoot()));
    EXPECT_NE(text.find("\"tms\":1386561234567.0,"), std::string::npos);
}

TEST(NrvJson, ParseAcceptsAnyRootAndComments) {
    CNRVJson json;
    ASSERT_TRUE(json.Parse("{\"managerName\" : \"KestrixOfficeInstaller\" }"));
    EXPECT_EQ(json.GetRoot()["managerName"].asString(), "KestrixOfficeInstaller");
    EXPECT_TRUE(json.Parse("/* note */ [1, 2] // trailing"));
    EXPECT_EQ(json.GetRoot().size(), 2u);
    // Comments are read but never written.
    EXPECT_STREQ(json.ToCompactString(), "[1,2]\n");
    EXPECT_TRUE(json.Parse("5"));
    EXPECT_TRUE(json.Parse("\"text\""));
}

TEST(NrvJson, RejectedTextsLeaveTheRootAsItWas) {
    CNRVJson json;
    json.SetString("kept", "yes");
    EXPECT_FALSE(json.Parse(""));
    EXPECT_FALSE(json.Parse(nullptr));
    EXPECT_FALSE(json.Parse("KestrixOfficeInstaller"));
    EXPECT_FALSE(json.Parse("{\"managerName\" : \"a\"b\" }"));
    // Deeper than the reader's stack limit: the reader throws; Parse must not.
    EXPECT_FALSE(json.Parse(std::string(5000, '[').c_str()));
    EXPECT_EQ(json.GetRoot()["kept"].asString(), "yes");
}

// The reader turns an escaped unpaired low surrogate into bytes that are not
// UTF-8 (an unpaired high one it refuses); what is parsed, and so what is
// written again, is always UTF-8: each of its three bytes becomes U+FFFD.
TEST(NrvJson, EscapedUnpairedSurrogatesBecomeReplacementCharacters) {
    CNRVJson json;
    ASSERT_TRUE(json.Parse(R"({"\udc00key": ["a\udfff", "\ud83d\ude00 \uD55C"]})"));
    EXPECT_EQ(
        std::string(json.ToCompactString()),
        "{\"\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBDkey\":[\"a\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD\","
        "\"\xF0\x9F\x98\x80 \xED\x95\x9C\"]}\n");
}

// Characters outside ASCII are written as they are, as the library's stream
// writer does when told to: FastWriter's escapes of them are undone, those of
// control characters and of the backslash are not.
TEST(NrvJson, CompactFormWritesNonAsciiAsTheStreamWriterWouldUnescaped) {
    CNRVJson json;
    json.SetString("\xC3\xA9t\xC3\xA9", "caf\xC3\xA9 \xED\x95\x9C \xF0\x9F\x98\x80 \xEF\xBF\xBF");
    json.SetString("escapes", "\\u00e9 \\\\u00e9 \x01 \x7f \xC2\x80");
    json.SetInt("n", 1);
    Json::StreamWriterBuilder settings;
    settings["indentation"] = "";
    settings["emitUTF8"] = true;
    EXPECT_EQ(std::string(json.ToCompactString()),
              Json::writeString(settings, json.GetRoot()) + "\n");
    EXPECT_EQ(std::string(json.ToCompactString()),
              "{\"escapes\":\"\\\\u00e9 \\\\\\\\u00e9 \\u0001 \x7f \xC2\x80\","
              "\"n\":1,\"\xC3\xA9t\xC3\xA9\":\"caf\xC3\xA9 \xED\x95\x9C \xF0\x9F\x98\x80 "
              "\xEF\xBF\xBF\"}\n");
}

// A stray lead byte must not take the characters after it along.
TEST(NrvJson, IllFormedTextsAreWrittenWithReplacementCharacters) {
    CNRVJson json;
    json.SetString("k", "a\xC3z \xE2\x82 \xFF \xED\xA0\x80.");
    EXPECT_EQ(std::string(json.ToCompactString()),
              "{\"k\":\"a\xEF\xBF\xBDz \xEF\xBF\xBD \xEF\xBF\xBD "
              "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD.\"}\n");
}
