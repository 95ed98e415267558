#include <gtest/gtest.h>

#include "tests/standin/StandinFixture.h"
#include "tests/standin/TlsClient.h"

namespace standintest {
namespace {

using testsupport::StandinCertificate;

using TlsServiceTest = StandinTest;

const char* const kTimeRequest = "GET /api/2/logcollect/time HTTP/1.1\r\n"
                                 "Host: localhost\r\n"
                                 "Content-Length: 5\r\n\r\n"
                                 "null\n";

TEST_F(TlsServiceTest, LogConfigurationAnswersOverVerifiedTlsAndReadsTheGetBody) {
    client().setServerTime(1700000000123);
    TlsResult result =
        tlsExchange(ports().logConf, standin().caPemPath(), "localhost", kTimeRequest);
    ASSERT_TRUE(result.connected) << result.error;
    RawResponse response = parseResponse(result.response);
    EXPECT_EQ(response.status, 200);
    EXPECT_EQ(response.body, "{\"resultCode\":0,\"serverTime\":1700000000123}");

    std::vector<StandinRequest> recorded = client().requests("logconf");
    ASSERT_EQ(recorded.size(), 1u);
    EXPECT_TRUE(recorded[0].tls);
    EXPECT_EQ(recorded[0].method, "GET");
    EXPECT_EQ(recorded[0].body, "null\n");
    EXPECT_EQ(recorded[0].raw, kTimeRequest);
}

TEST_F(TlsServiceTest, ServerTimeFollowsTheClockUnlessFixed) {
    TlsResult result =
        tlsExchange(ports().logConf, standin().caPemPath(), "localhost", kTimeRequest);
    ASSERT_TRUE(result.connected) << result.error;
    const std::string prefix = "{\"resultCode\":0,\"serverTime\":";
    std::string body = parseResponse(result.response).body;
    ASSERT_EQ(body.rfind(prefix, 0), 0u) << body;
    long long served = std::stoll(body.substr(prefix.size()));
    EXPECT_GT(served, client().requests("logconf")[0].receivedMs - 60000);
}

TEST_F(TlsServiceTest, CollectorAnswersOverVerifiedTls) {
    const std::string request = "POST /api/2/logcollect/collector HTTP/1.1\r\n"
                                "Host: localhost:" +
                                std::to_string(ports().collector) +
                                "\r\n"
                                "Content-Type: application/json\r\n"
                                "Content-Length: 9\r\n\r\n"
                                "{\"a\":\"b\"}";
    TlsResult result = tlsExchange(ports().collector, standin().caPemPath(), "localhost", request);
    ASSERT_TRUE(result.connected) << result.error;
    EXPECT_EQ(parseResponse(result.response).body, "{\"resultCode\":0}");
    EXPECT_EQ(client().requests("collector")[0].body, "{\"a\":\"b\"}");
}

TEST_F(TlsServiceTest, TheCertificateIsRefusedForAnotherHostName) {
    TlsResult result =
        tlsExchange(ports().collector, standin().caPemPath(), "collector.invalid", kTimeRequest);
    EXPECT_FALSE(result.connected);
    EXPECT_NE(result.error.find("mismatch"), std::string::npos) << result.error;
    EXPECT_TRUE(client().requests().empty());
}

TEST_F(TlsServiceTest, PresentsTheChosenCertificateUntilTheReset) {
    const std::string& ca = standin().caPemPath();
    client().setCertificate("collector", StandinCertificate::Untrusted);
    TlsResult untrusted = tlsExchange(ports().collector, ca, "localhost", kTimeRequest);
    EXPECT_FALSE(untrusted.connected);
    EXPECT_NE(untrusted.error.find("unable to get local issuer certificate"), std::string::npos)
        << untrusted.error;
    EXPECT_TRUE(tlsExchange(ports().logConf, ca, "localhost", kTimeRequest).connected)
        << "the other service keeps its certificate";

    client().setCertificate("collector", StandinCertificate::WrongHost);
    TlsResult wrongHost = tlsExchange(ports().collector, ca, "localhost", kTimeRequest);
    EXPECT_FALSE(wrongHost.connected);
    EXPECT_NE(wrongHost.error.find("mismatch"), std::string::npos) << wrongHost.error;
    EXPECT_TRUE(tlsExchange(ports().collector, ca, "other.invalid", kTimeRequest).connected)
        << "the chain verifies; only the host name is wrong";

    client().reset();
    EXPECT_TRUE(tlsExchange(ports().collector, ca, "localhost", kTimeRequest).connected);
}

TEST_F(TlsServiceTest, OnlyTlsServicesChooseACertificate) {
    EXPECT_THROW(client().setCertificate("update", StandinCertificate::Untrusted),
                 std::runtime_error);
}

} // namespace
} // namespace standintest
