#include "net/FirstLineReader.h"
#include "net/ServiceAnswer.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

// Feeds the body in chunks of the given size, as the read loop does, and
// stops when the reader says so.
FirstLineReader Read(const std::string& body, size_t chunk,
                     size_t cap = FirstLineReader::kDefaultCap) {
    FirstLineReader reader(cap);
    for (size_t at = 0; at < body.size(); at += chunk) {
        if (!reader.Feed(body.data() + at, std::min(chunk, body.size() - at)))
            break;
    }
    return reader;
}

std::string FirstLine(const std::string& body) {
    return Read(body, body.size() + 1).Line();
}

int32_t ResultCodeOf(const std::string& body) {
    return ParseAnswerLine(Read(body, 4096)).resultCode;
}

} // namespace

TEST(FirstLine, TakesBytesUpToTheFirstLineFeedWithoutCarriageReturns) {
    EXPECT_EQ(FirstLine("{\"resultCode\":0}\n{\"resultCode\":1}\n"), "{\"resultCode\":0}");
    EXPECT_EQ(FirstLine("{\"resultCode\":0}\r\n"), "{\"resultCode\":0}");
    EXPECT_EQ(FirstLine("{\"result\rCode\":\r0}\r\r\nrest"), "{\"resultCode\":0}");
    EXPECT_EQ(FirstLine("{\"resultCode\":0}"), "{\"resultCode\":0}");
    EXPECT_EQ(FirstLine("\n{\"resultCode\":0}"), "");
    EXPECT_EQ(FirstLine(""), "");
    EXPECT_EQ(FirstLine("\xED\x95\x9C\n"), "\xED\x95\x9C");
}

TEST(FirstLine, ResultCodeFollowsTheFirstLineOnly) {
    EXPECT_EQ(ResultCodeOf("{\n  \"resultCode\" : 0\n}\n"), -1);
    EXPECT_EQ(ResultCodeOf("{\"resultCode\":0}\r\n"), 0);
    EXPECT_EQ(ResultCodeOf("{\"resultCode\":0}\n"), 0);
    EXPECT_EQ(ResultCodeOf("{\"resultCode\":3}"), 3);
    EXPECT_EQ(ResultCodeOf(""), -1);
    EXPECT_EQ(ResultCodeOf("\n{\"resultCode\":0}\n"), -1);
    EXPECT_FALSE(ParseAnswerLine(Read("", 1)).parsed);
}

TEST(FirstLine, StopsReadingWhenTheLineIsComplete) {
    FirstLineReader reader;
    EXPECT_TRUE(reader.Feed("{\"resultCode\"", 13));
    EXPECT_TRUE(reader.Feed("", 0));
    EXPECT_FALSE(reader.Feed(":0}\nmore", 8));
    EXPECT_FALSE(reader.Feed("more\n", 5));
    EXPECT_EQ(reader.Line(), "{\"resultCode\":0}");
    EXPECT_FALSE(reader.Overflowed());
}

TEST(FirstLine, ChunkBoundariesChangeNothing) {
    const std::string bodies[] = {
        "{\"resultCode\":0,\"url\":\"http://h/a.exe\"}\r\n{\"ignored\":1}\n",
        "\r\r\n",
        "no line feed at all",
        "\n",
        "a\rb\r",
        "{\"serverTime\":1386561234567}\n\n"};
    for (const std::string& body : bodies) {
        const FirstLineReader whole = Read(body, body.size() + 1);
        for (size_t chunk = 1; chunk <= body.size(); ++chunk) {
            const FirstLineReader pieces = Read(body, chunk);
            EXPECT_EQ(pieces.Line(), whole.Line()) << body << " in chunks of " << chunk;
            EXPECT_FALSE(pieces.Overflowed());
        }
        // Two chunks split at every place.
        for (size_t split = 0; split <= body.size(); ++split) {
            FirstLineReader reader;
            if (reader.Feed(body.data(), split))
                reader.Feed(body.data() + split, body.size() - split);
            EXPECT_EQ(reader.Line(), whole.Line()) << body << " split at " << split;
        }
    }
}

TEST(FirstLine, ALineBeyondTheCapDoesNotParse) {
    // Up to the cap the line is taken, whatever the chunks.
    for (size_t chunk : {1, 3, 8, 100}) {
        EXPECT_EQ(Read("12345678", chunk, 8).Line(), "12345678");
        EXPECT_EQ(Read("12345678\n9", chunk, 8).Line(), "12345678");
        EXPECT_FALSE(Read("12345678\n9", chunk, 8).Overflowed());

        const FirstLineReader over = Read("123456789\n", chunk, 8);
        EXPECT_TRUE(over.Overflowed()) << chunk;
        EXPECT_EQ(over.Line(), "");
        // Carriage returns are bytes taken too: a stream of them ends as well.
        EXPECT_TRUE(Read(std::string(9, '\r'), chunk, 8).Overflowed()) << chunk;
    }

    FirstLineReader reader(4);
    EXPECT_TRUE(reader.Feed("1234", 4));
    EXPECT_FALSE(reader.Feed("5", 1));
    EXPECT_FALSE(reader.Feed("\n", 1));
    EXPECT_TRUE(reader.Overflowed());
    EXPECT_FALSE(ParseAnswerLine(reader).parsed);
}

TEST(FirstLine, OneMebibyteIsTheDefaultCap) {
    const std::string answer = "{\"resultCode\":0}";
    const std::string padding(FirstLineReader::kDefaultCap - answer.size(), ' ');
    EXPECT_EQ(ParseAnswerLine(Read(padding + answer + "\n", 4096)).resultCode, 0);

    const FirstLineReader over = Read(padding + " " + answer + "\n", 4096);
    EXPECT_TRUE(over.Overflowed());
    const ParsedAnswer parsed = ParseAnswerLine(over);
    EXPECT_FALSE(parsed.parsed);
    EXPECT_EQ(parsed.resultCode, -1);
}
