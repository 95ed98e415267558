#include "platform/NumberStream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <sstream>
#include <string>

namespace {

struct Read {
    bool ok;
    double value;
};

Read ByStream(const std::string& text) {
    std::istringstream stream(text);
    double value = -1;
    const bool ok = static_cast<bool>(stream >> value);
    return {ok, value};
}

Read ByNumberStream(const std::string& text) {
    platform::NumberStream stream(text);
    double value = -1;
    const bool ok = !!(stream >> value);
    return {ok, value};
}

// Same outcome and the same bits of the value, so that -0 and 0 differ.
void ExpectSameAsStream(const std::string& text) {
    const Read expected = ByStream(text);
    const Read actual = ByNumberStream(text);
    EXPECT_EQ(actual.ok, expected.ok) << '"' << text << '"';
    EXPECT_EQ(std::memcmp(&actual.value, &expected.value, sizeof(double)), 0)
        << '"' << text << "\": " << actual.value << " against " << expected.value;
}

} // namespace

// The texts that the JSON reader hands over, and their near misses.
TEST(NumberStream, ReadsAsTheStreamDoes) {
    for (const char* text : {"0",
                             "-0",
                             "1",
                             "-1",
                             "1.5",
                             "-.5",
                             "1.",
                             "1.e5",
                             "2.5E-3",
                             "1e+2",
                             "00012.50",
                             "1e",
                             "1e+",
                             "-",
                             "",
                             ".",
                             "-e5",
                             "e5",
                             "1e308",
                             "1.7976931348623157e308",
                             "1e309",
                             "-1e309",
                             "1e-320",
                             "1e-400",
                             "4.9406564584124654e-324",
                             "0.1",
                             "0.30000000000000004",
                             "123456789012345678901234567890",
                             "1386561234567.0",
                             " 12",
                             "\t-3.25",
                             "12 ",
                             "1.2.3",
                             "1e5e6",
                             "1e5.5",
                             "0x10",
                             "inf",
                             "nan",
                             "+5",
                             "+-5",
                             "1e--5",
                             "9007199254740993"})
        ExpectSameAsStream(text);
}

TEST(NumberStream, ReadsRandomNumberLikeTextsAsTheStreamDoes) {
    static const char kAlphabet[] = "0123456789.eE+- x";
    std::mt19937 random(20261210);
    std::uniform_int_distribution<size_t> length(0, 12);
    std::uniform_int_distribution<size_t> pick(0, sizeof kAlphabet - 2);
    for (int round = 0; round < 20000; ++round) {
        std::string text(length(random), ' ');
        for (char& c : text)
            c = kAlphabet[pick(random)];
        ExpectSameAsStream(text);
    }
}
