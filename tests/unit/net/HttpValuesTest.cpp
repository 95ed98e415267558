#include "net/HttpValues.h"

#include <gtest/gtest.h>

TEST(HttpValues, ContentLengthIsReadAs64BitDecimal) {
    EXPECT_EQ(ParseContentLength(L""), 0u);
    EXPECT_EQ(ParseContentLength(L"0"), 0u);
    EXPECT_EQ(ParseContentLength(L"4096"), 4096u);
    EXPECT_EQ(ParseContentLength(L"2147483648"), 2147483648ull);
    EXPECT_EQ(ParseContentLength(L"5368709120"), 5368709120ull);
    EXPECT_EQ(ParseContentLength(L" 12abc"), 12u);
    EXPECT_EQ(ParseContentLength(L"-5"), 0u);
    EXPECT_EQ(ParseContentLength(L"99999999999999999999999"), UINT64_MAX);
}

TEST(HttpValues, StatusCodeText) {
    EXPECT_EQ(ParseStatusCode(L"200"), 200u);
    EXPECT_EQ(ParseStatusCode(L""), 0u);
    EXPECT_EQ(ParseStatusCode(L"x"), 0u);
    EXPECT_EQ(ParseStatusCode(L"99999999999"), 0u);
}

TEST(HttpValues, OnlyHttpAndHttpsUrlsAreOpened) {
    EXPECT_TRUE(IsHttpOrHttpsUrl(L"http://host/a.exe"));
    EXPECT_TRUE(IsHttpOrHttpsUrl(L"HTTPS://host/a.exe"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"file:///C:/Windows/system32/calc.exe"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"ftp://host/a.exe"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"httpx://host"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"http:"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L""));
}
