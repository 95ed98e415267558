#include "tools/uidriver/Utf8.h"

#include <gtest/gtest.h>

namespace {

TEST(Utf8Test, RoundTripsEveryPlane) {
    // ASCII, Hangul, Arabic with a right-to-left mark, and an emoji (surrogate pair).
    const std::wstring wide = L"Setup \xD55C\xAD6D\xC5B4 \x0645\x0631\x062D\x0628\x0627\x200F "
                              L"\xD83D\xDE00";
    const std::string utf8 = "Setup \xED\x95\x9C\xEA\xB5\xAD\xEC\x96\xB4 "
                             "\xD9\x85\xD8\xB1\xD8\xAD\xD8\xA8\xD8\xA7\xE2\x80\x8F "
                             "\xF0\x9F\x98\x80";
    EXPECT_EQ(ToUtf8(wide), utf8);
    ASSERT_TRUE(FromUtf8(utf8));
    EXPECT_EQ(*FromUtf8(utf8), wide);
}

TEST(Utf8Test, KeepsEmbeddedNulAndBoundaryCodePoints) {
    const std::wstring wide(L"a\0\x007F\x0080\x07FF\x0800\xFFFF\xDBFF\xDFFF", 9);
    const auto back = FromUtf8(ToUtf8(wide));
    ASSERT_TRUE(back);
    EXPECT_EQ(*back, wide);
}

TEST(Utf8Test, ReplacesLoneSurrogates) {
    EXPECT_EQ(ToUtf8(std::wstring(1, wchar_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::wstring(L"x") + wchar_t(0xDC00)), "x\xEF\xBF\xBD");
    EXPECT_EQ(ToUtf8(std::wstring(1, wchar_t(0xD83D)) + L"a"), "\xEF\xBF\xBD"
                                                               "a");
}

TEST(Utf8Test, RefusesMalformedInput) {
    EXPECT_FALSE(FromUtf8("\x80"));             // continuation without lead
    EXPECT_FALSE(FromUtf8("\xC3"));             // cut short
    EXPECT_FALSE(FromUtf8("\xC0\xAF"));         // overlong '/'
    EXPECT_FALSE(FromUtf8("\xE0\x80\xAF"));     // overlong, three bytes
    EXPECT_FALSE(FromUtf8("\xED\xA0\x80"));     // encoded surrogate
    EXPECT_FALSE(FromUtf8("\xF4\x90\x80\x80")); // past U+10FFFF
    EXPECT_FALSE(FromUtf8("\xE2\x28\xA1"));     // bad continuation
    ASSERT_TRUE(FromUtf8(""));
    EXPECT_TRUE(FromUtf8("")->empty());
}

} // namespace
