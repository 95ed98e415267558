// The server-time exchange against the stand-in log-configuration server (HTTPS).
#include "tests/integration/JobHarness_win.h"
#include "tests/integration/WinInetControlTransport_win.h"

#include <gtest/gtest.h>

namespace {

class ServerTimeExchange : public ::testing::Test {
protected:
    void SetUp() override { standin.reset(); }

    JobReport Run(const std::string& body, int status = 200) {
        standin.script(testsupport::kStandinLogConf,
                       {testsupport::StandinAnswer::withStatus(status, body)});
        JobHarness harness;
        harness.Manager().StartServerTimeJob();
        return harness.WaitForReport();
    }

    testsupport::StandinClient standin{WinInetControlTransport};
};

} // namespace

TEST_F(ServerTimeExchange, ATlsGetWithANullBodyGivesTheServersTime) {
    const JobReport report = Run("{\"resultCode\":0,\"serverTime\":1386561234567}");
    EXPECT_EQ(report.result.nKind, JOB_SERVER_TIME);
    EXPECT_EQ(report.result.dwStatusCode, 200u);
    EXPECT_EQ(report.result.nResultCode, 0);
    ASSERT_TRUE(report.hasData);
    EXPECT_EQ(report.serverTimeMs, 1386561234567ull);

    const auto requests = standin.requests(testsupport::kStandinLogConf);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].requestLine, "GET /api/2/logcollect/time HTTP/1.0");
    EXPECT_EQ(requests[0].body, "null\n");
}

TEST_F(ServerTimeExchange, OutcomesOfA200Answer) {
    const JobReport real = Run("{\"resultCode\":0,\"serverTime\":1386561234567.9}");
    EXPECT_EQ(real.serverTimeMs, 1386561234567ull);

    const JobReport missing = Run("{\"resultCode\":0}");
    EXPECT_EQ(missing.result.nResultCode, 0);
    ASSERT_TRUE(missing.hasData);
    EXPECT_EQ(missing.serverTimeMs, 0u);

    const JobReport refused = Run("{\"resultCode\":3,\"serverTime\":1386561234567}");
    EXPECT_EQ(refused.result.nResultCode, 3);
    ASSERT_TRUE(refused.hasData);
    EXPECT_EQ(refused.serverTimeMs, 0u);

    const JobReport unusable = Run("serverTime");
    EXPECT_EQ(unusable.result.nResultCode, -1);
    ASSERT_TRUE(unusable.hasData);
    EXPECT_EQ(unusable.serverTimeMs, 0u);
}

TEST_F(ServerTimeExchange, TimesOfAnotherShapeCountAsMissing) {
    for (const char* body : {"{\"resultCode\":0,\"serverTime\":-5}",
                             "{\"resultCode\":0,\"serverTime\":\"1386561234567\"}",
                             "{\"resultCode\":0,\"serverTime\":1e30}"}) {
        const JobReport report = Run(body);
        EXPECT_EQ(report.result.nResultCode, 0) << body;
        EXPECT_EQ(report.serverTimeMs, 0u) << body;
    }
}

TEST_F(ServerTimeExchange, AnotherStatusCarriesNoPayload) {
    const JobReport report = Run("{\"resultCode\":0,\"serverTime\":5}", 500);
    EXPECT_EQ(report.result.dwStatusCode, 500u);
    EXPECT_EQ(report.result.nResultCode, -1);
    EXPECT_FALSE(report.hasData);
}
