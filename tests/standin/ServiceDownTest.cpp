#include <cerrno>
#include <cstring>
#include <gtest/gtest.h>
#include <stdexcept>

#include "tests/standin/StandinFixture.h"
#include "tests/standin/TlsClient.h"

namespace standintest {
namespace {

using ServiceDownTest = StandinTest;

bool refused(int port, const char* address = "127.0.0.1") {
    try {
        RawConnection connection(port, address);
    } catch (const std::runtime_error& error) {
        return std::string(error.what()).find(std::strerror(ECONNREFUSED)) != std::string::npos;
    }
    return false;
}

TEST_F(ServiceDownTest, RefusesConnectionsWhileDownAndServesOnTheSamePortWhenUp) {
    client().setServiceDown("update", true);
    client().setServiceDown("update", true);
    EXPECT_TRUE(refused(ports().update));
    EXPECT_TRUE(refused(ports().update, "::1"));
    EXPECT_EQ(parseResponse(roundTrip(ports().package, "GET /x HTTP/1.1\r\n\r\n")).status, 404)
        << "the other services keep listening";

    client().setServiceDown("update", false);
    client().setServiceDown("update", false);
    EXPECT_EQ(parseResponse(askUpdate()).status, 200);
    EXPECT_EQ(client().requests("update").size(), 1u);
}

TEST_F(ServiceDownTest, TheResetBringsEveryServiceBackUp) {
    client().setServiceDown("update", true);
    client().setServiceDown("collector", true);
    EXPECT_TRUE(refused(ports().collector));
    client().reset();
    EXPECT_EQ(parseResponse(askUpdate()).status, 200);
    EXPECT_TRUE(
        tlsExchange(ports().collector, standin().caPemPath(), "localhost", "GET / HTTP/1.1\r\n\r\n")
            .connected);
}

} // namespace
} // namespace standintest
