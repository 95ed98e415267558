// The package-URL exchange against the stand-in update server.
#include "tests/integration/JobHarness_win.h"
#include "tests/integration/WinInetControlTransport_win.h"

#include "env/UserAgent_win.h"
#include "usage/Utf8.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

using testsupport::StandinAnswer;

class PackageUrlExchange : public ::testing::Test {
protected:
    void SetUp() override { standin.reset(); }

    // Scripts one answer of the update server and runs one job.
    JobReport Run(const StandinAnswer& answer) {
        standin.script(testsupport::kStandinUpdate, {answer});
        JobHarness harness;
        harness.Manager().StartPackageUrlJob();
        return harness.WaitForReport();
    }

    static StandinAnswer Answer200(const std::string& body) {
        return StandinAnswer::withStatus(200, body);
    }

    testsupport::StandinClient standin{WinInetControlTransport};
};

void ExpectUrlVariableWithoutText(const JobReport& report, int32_t resultCode) {
    EXPECT_EQ(report.result.nKind, JOB_PACKAGE_URL);
    EXPECT_EQ(report.result.dwStatusCode, 200u);
    EXPECT_EQ(report.result.nResultCode, resultCode);
    EXPECT_TRUE(report.hasData);
    EXPECT_FALSE(report.hasUrlVariable);
}

} // namespace

TEST_F(PackageUrlExchange, SendsTheInstallersRequestAndTakesTheUrl) {
    const JobReport report =
        Run(Answer200("{\"resultCode\":0,\"url\":\"http:\\/\\/h\\/p\\u00e9.exe\"}\n"
                      "second line ignored"));
    EXPECT_EQ(report.result.dwStatusCode, 200u);
    EXPECT_EQ(report.result.nResultCode, 0);
    ASSERT_TRUE(report.hasUrlVariable);
    EXPECT_EQ(report.text, L"http://h/p\u00e9.exe");

    const auto requests = standin.requests(testsupport::kStandinUpdate);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "POST /api/1/update/pcoffice/packageurl HTTP/1.0");
    EXPECT_EQ(requests[0].body, "null\n");
    const std::string userAgent = "User-Agent: " + ToUtf8(MakeUserAgent().c_str());
    const auto& headers = requests[0].headers;
    const auto ua = std::find(headers.begin(), headers.end(), userAgent);
    const auto type = std::find(headers.begin(), headers.end(), "Content-Type: application/json");
    ASSERT_NE(ua, headers.end());
    ASSERT_NE(type, headers.end());
    EXPECT_EQ(type - ua, 1) << "the two headers of the installer, in this order";
    for (const std::string& header : headers)
        EXPECT_EQ(header.find('\r'), std::string::npos);
}

TEST_F(PackageUrlExchange, OutcomesOfA200Answer) {
    ExpectUrlVariableWithoutText(Run(Answer200("not json")), -1);
    ExpectUrlVariableWithoutText(Run(Answer200("{\"url\":\"http://h/p.exe\"}")), -1);
    ExpectUrlVariableWithoutText(Run(Answer200("{\"resultCode\":7,\"url\":\"http://h/p.exe\"}")),
                                 7);

    const JobReport noUrl = Run(Answer200("{\"resultCode\":0}"));
    EXPECT_EQ(noUrl.result.nResultCode, 0);
    ASSERT_TRUE(noUrl.hasUrlVariable);
    EXPECT_EQ(noUrl.text, L"");
}

TEST_F(PackageUrlExchange, OnlyTheFirstLineCountsAndCarriageReturnsAreDropped) {
    ExpectUrlVariableWithoutText(Run(Answer200("{\n\"resultCode\":0,\n\"url\":\"http://h/p\"\n}")),
                                 -1);
    ExpectUrlVariableWithoutText(Run(Answer200("")), -1);
    ExpectUrlVariableWithoutText(Run(Answer200("\n{\"resultCode\":0}")), -1);

    const JobReport crlf = Run(Answer200("{\"resultCode\":0,\r\"url\":\"http://h/p\"}\r\n"));
    EXPECT_EQ(crlf.result.nResultCode, 0);
    EXPECT_EQ(crlf.text, L"http://h/p");
}

TEST_F(PackageUrlExchange, AnswersOfAnotherShapeEndLikeAnswersWithoutTheKey) {
    ExpectUrlVariableWithoutText(Run(Answer200("[1,2,3]")), -1);
    ExpectUrlVariableWithoutText(Run(Answer200("{\"resultCode\":\"0\"}")), -1);
    ExpectUrlVariableWithoutText(Run(Answer200("{\"resultCode\":1e300}")), -1);
    const JobReport numberUrl = Run(Answer200("{\"resultCode\":0,\"url\":17}"));
    EXPECT_EQ(numberUrl.result.nResultCode, 0);
    EXPECT_EQ(numberUrl.text, L"");
    // A first line that never ends is not read without bound.
    ExpectUrlVariableWithoutText(
        Run(Answer200("{\"resultCode\":0,\"url\":\"" + std::string(2 << 20, 'a') + "\"}")), -1);
}

TEST_F(PackageUrlExchange, FailuresCarryNoPayload) {
    const JobReport notFound = Run(StandinAnswer::withStatus(404, "{\"resultCode\":0}"));
    EXPECT_EQ(notFound.result.dwStatusCode, 404u);
    EXPECT_EQ(notFound.result.nResultCode, -1);
    EXPECT_FALSE(notFound.hasData);

    // The answer is cut short before its first line ends.
    StandinAnswer cutShort = Answer200("{\"resultCode\":0,\"url\":\"http://h/p\"}");
    cutShort.contentLength = 5000;
    cutShort.dropAfterBytes = 10;
    const JobReport cut = Run(cutShort);
    EXPECT_EQ(cut.result.dwStatusCode, 200u);
    EXPECT_EQ(cut.result.nResultCode, -1);
    EXPECT_FALSE(cut.hasData);

    // The server closes the connection without answering.
    StandinAnswer nothing;
    nothing.raw = "";
    const JobReport closed = Run(nothing);
    EXPECT_EQ(closed.result.dwStatusCode, 0u);
    EXPECT_EQ(closed.result.nResultCode, -1);
    EXPECT_FALSE(closed.hasData);
}
