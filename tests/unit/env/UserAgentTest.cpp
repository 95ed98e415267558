#include "env/UserAgent.h"

#include <gtest/gtest.h>

TEST(UserAgent, ProductVersionTakesTheFourWordsInOrder) {
    EXPECT_EQ(FormatProductVersion(0x00080001, 0x000D6A4C), L"8.1.13.27212");
    EXPECT_EQ(FormatProductVersion(0, 0), L"0.0.0.0");
}

TEST(UserAgent, ProductVersionWordsPrintWithoutSign) {
    EXPECT_EQ(FormatProductVersion(0x80007FFF, 0xFFFF8000), L"32768.32767.65535.32768");
    EXPECT_EQ(FormatProductVersion(0xFFFFFFFF, 0xFFFFFFFF), L"65535.65535.65535.65535");
}

TEST(UserAgent, TokensGoInTheirPlaces) {
    EXPECT_EQ(FormatUserAgent(L"Windows 7/6.1", L"ko-KR", L"8.1.13.27212"),
              L"Kestrix/5.0 (pc, Windows 7/6.1, ko-KR) KestrixDownloader/8.1.13.27212.PROD");
    EXPECT_EQ(FormatUserAgent(L"", L"en-US", L"8.1.13.27212"),
              L"Kestrix/5.0 (pc, , en-US) KestrixDownloader/8.1.13.27212.PROD");
}

TEST(UserAgent, EmptyTokensKeepTheSeparators) {
    EXPECT_EQ(FormatUserAgent(L"", L"", L""), L"Kestrix/5.0 (pc, , ) KestrixDownloader/.PROD");
}
