#include "usage/Utf8.h"
#include "platform/Utf8Codec.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

// Every case runs through the product's converter (the system's on Windows)
// and through the portable codec: both must give the same result.

namespace {

// A wide text from code points, as UTF-16 or UTF-32 depending on wchar_t.
// Values in the surrogate range go in as single units (ill-formed text).
std::wstring Wide(const std::vector<char32_t>& codePoints) {
    std::wstring text;
    for (char32_t c : codePoints) {
        if (sizeof(wchar_t) == 2 && c >= 0x10000) {
            text += static_cast<wchar_t>(0xD800 + ((c - 0x10000) >> 10));
            text += static_cast<wchar_t>(0xDC00 + ((c - 0x10000) & 0x3FF));
        } else {
            text += static_cast<wchar_t>(c);
        }
    }
    return text;
}

struct EncodeCase {
    const char* name;
    std::vector<char32_t> input;
    std::string expected;
};

const std::string kFffd = "\xEF\xBF\xBD";

const std::vector<EncodeCase>& EncodeCases() {
    static const std::vector<EncodeCase> cases = {
        {"ascii", {'K', 'S', '/', '1'}, "KS/1"},
        {"two byte", {0xE9, 0xFF}, "\xC3\xA9\xC3\xBF"},
        {"korean", {0xB300, 0xD55C}, "\xEB\x8C\x80\xED\x95\x9C"},
        {"bmp edge", {0xFFFF, 0xE000}, "\xEF\xBF\xBF\xEE\x80\x80"},
        {"beyond bmp",
         {0x1F600, 'a', 0x10FFFF},
         "\xF0\x9F\x98\x80"
         "a\xF4\x8F\xBF\xBF"},
        {"lone high surrogate at the end", {'a', 0xD800}, "a" + kFffd},
        {"lone low surrogate", {0xDC00, 'b'}, kFffd + "b"},
        {"high surrogate before a letter", {0xDBFF, 'c'}, kFffd + "c"},
        {"reversed pair", {0xDC00, 0xD800}, kFffd + kFffd},
    };
    return cases;
}

struct DecodeCase {
    const char* name;
    std::string input;
    std::vector<char32_t> expected;
};

std::vector<char32_t> Ascii(const std::string& text) {
    return std::vector<char32_t>(text.begin(), text.end());
}

const std::vector<DecodeCase>& WellFormedCases() {
    static const std::vector<DecodeCase> cases = {
        {"ascii", "http://127.0.0.1/K.exe", Ascii("http://127.0.0.1/K.exe")},
        {"korean", "/\xED\x95\x9C.exe", {'/', 0xD55C, '.', 'e', 'x', 'e'}},
        {"beyond bmp", "\xF0\x9F\x98\x80", {0x1F600}},
        {"embedded zero kept", std::string("a\0b", 3), {'a', 0, 'b'}},
    };
    return cases;
}

// How many U+FFFD an ill-formed sequence becomes differs between systems;
// the codec writes one per maximal subpart.
const std::vector<DecodeCase>& IllFormedCases() {
    static const std::vector<DecodeCase> cases = {
        {"lone continuation", "\x80x", {0xFFFD, 'x'}},
        {"truncated at the end", "x\xE2\x82", {'x', 0xFFFD}},
        {"truncated before ascii", "\xE2\x82y", {0xFFFD, 'y'}},
        {"overlong slash", "\xC0\xAF", {0xFFFD, 0xFFFD}},
        {"overlong three bytes", "\xE0\x80\xAF", {0xFFFD, 0xFFFD, 0xFFFD}},
        {"encoded surrogate", "\xED\xA0\x80", {0xFFFD, 0xFFFD, 0xFFFD}},
        {"beyond U+10FFFF", "\xF4\x90\x80\x80", {0xFFFD, 0xFFFD, 0xFFFD, 0xFFFD}},
        {"invalid lead", "\xF5\xFF", {0xFFFD, 0xFFFD}},
    };
    return cases;
}

std::vector<char32_t> EveryScalarValueButZero() {
    std::vector<char32_t> values;
    for (char32_t c = 1; c <= 0x10FFFF; ++c) {
        if (c < 0xD800 || c > 0xDFFF)
            values.push_back(c);
    }
    return values;
}

} // namespace

TEST(Utf8, ToUtf8AndTheCodecAgree) {
    for (const EncodeCase& c : EncodeCases()) {
        const std::wstring input = Wide(c.input);
        EXPECT_EQ(ToUtf8(input.c_str()), c.expected) << c.name;
        EXPECT_EQ(utf8::EncodeUtf8(input.data(), input.size()), c.expected) << c.name;
    }
    EXPECT_EQ(ToUtf8(nullptr), "");
    EXPECT_EQ(ToUtf8(L""), "");
}

TEST(Utf8, Utf8ToWideAndTheCodecAgree) {
    for (const DecodeCase& c : WellFormedCases()) {
        const std::wstring expected = Wide(c.expected);
        EXPECT_EQ(Utf8ToWide(c.input), expected) << c.name;
        EXPECT_EQ(utf8::DecodeUtf8(c.input.data(), c.input.size()), expected) << c.name;
    }
    EXPECT_EQ(Utf8ToWide(""), L"");
}

TEST(Utf8, IllFormedBytesBecomeReplacementCharacters) {
    for (const DecodeCase& c : IllFormedCases()) {
        EXPECT_NE(Utf8ToWide(c.input).find(L'\xFFFD'), std::wstring::npos) << c.name;
        EXPECT_EQ(utf8::DecodeUtf8(c.input.data(), c.input.size()), Wide(c.expected)) << c.name;
    }
}

TEST(Utf8, EveryScalarValueConvertsTheSameBothWays) {
    const std::wstring text = Wide(EveryScalarValueButZero());
    const std::string bytes = ToUtf8(text.c_str());
    // Compared as booleans: a failure would otherwise print megabytes.
    EXPECT_TRUE(bytes == utf8::EncodeUtf8(text.data(), text.size()));
    EXPECT_TRUE(Utf8ToWide(bytes) == text);
    EXPECT_TRUE(utf8::DecodeUtf8(bytes.data(), bytes.size()) == text);
}

TEST(Utf8, WellFormedTextSurvivesTheRoundTrip) {
    const std::wstring text = Wide({'K', 0xE9, 0x3042, 0xD55C, 0x1F600, 0x10FFFF, ' '});
    EXPECT_EQ(Utf8ToWide(ToUtf8(text.c_str())), text);
}
