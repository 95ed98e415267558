#include "net/DownloadMath.h"

#include <gtest/gtest.h>

TEST(DownloadMath, ContentLengthIsReadAs64BitDecimal) {
    EXPECT_EQ(ParseContentLength(L""), 0u);
    EXPECT_EQ(ParseContentLength(L"0"), 0u);
    EXPECT_EQ(ParseContentLength(L"4096"), 4096u);
    EXPECT_EQ(ParseContentLength(L"2147483648"), 2147483648ull);
    EXPECT_EQ(ParseContentLength(L"5368709120"), 5368709120ull);
    EXPECT_EQ(ParseContentLength(L" 12abc"), 12u);
    EXPECT_EQ(ParseContentLength(L"-5"), 0u);
    EXPECT_EQ(ParseContentLength(L"99999999999999999999999"), UINT64_MAX);
}

TEST(DownloadMath, StatusCodeText) {
    EXPECT_EQ(ParseStatusCode(L"200"), 200u);
    EXPECT_EQ(ParseStatusCode(L""), 0u);
    EXPECT_EQ(ParseStatusCode(L"x"), 0u);
    EXPECT_EQ(ParseStatusCode(L"99999999999"), 0u);
}

TEST(DownloadMath, ProgressBelowTwoGibIsTheByteCounts) {
    const ProgressCounts counts = ScaleProgress(4096, 2147483647);
    EXPECT_EQ(counts.done, 4096);
    EXPECT_EQ(counts.total, 2147483647);
    EXPECT_EQ(ScaleProgress(0, 0).total, 0);
}

TEST(DownloadMath, ProgressBeyondTwoGibKeepsThePercentage) {
    const uint64_t total = 5ull << 30; // 5 GiB
    for (uint64_t done : {uint64_t(0), total / 4, total / 2 + 4096, total - 1, total}) {
        const ProgressCounts counts = ScaleProgress(done, total);
        ASSERT_GT(counts.total, 0);
        ASSERT_GE(counts.done, 0);
        const int expected = static_cast<int>(static_cast<double>(done) * 100 / total);
        EXPECT_EQ(static_cast<int>(static_cast<double>(counts.done) * 100 / counts.total), expected)
            << done;
    }
    const ProgressCounts complete = ScaleProgress(total, total);
    EXPECT_EQ(complete.done, complete.total);
}

TEST(DownloadMath, OnlyHttpAndHttpsUrlsAreOpened) {
    EXPECT_TRUE(IsHttpOrHttpsUrl(L"http://host/a.exe"));
    EXPECT_TRUE(IsHttpOrHttpsUrl(L"HTTPS://host/a.exe"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"file:///C:/Windows/system32/calc.exe"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"ftp://host/a.exe"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"httpx://host"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L"http:"));
    EXPECT_FALSE(IsHttpOrHttpsUrl(L""));
}
