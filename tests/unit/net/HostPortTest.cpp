#include "net/HostPort.h"

#include <gtest/gtest.h>

TEST(HostPort, DeploymentValues) {
    HostPort plain = ParseHostPort(L"update.kestrixoffice.com", 0);
    EXPECT_EQ(plain.host, L"update.kestrixoffice.com");
    EXPECT_EQ(plain.port, 0);

    HostPort withPort = ParseHostPort(L"127.0.0.1:18080", 0);
    EXPECT_EQ(withPort.host, L"127.0.0.1");
    EXPECT_EQ(withPort.port, 18080);

    HostPort secure = ParseHostPort(L"localhost", 443);
    EXPECT_EQ(secure.port, 443);

    HostPort v6 = ParseHostPort(L"[::1]:8443", 443);
    EXPECT_EQ(v6.host, L"[::1]");
    EXPECT_EQ(v6.port, 8443);
}

TEST(HostPort, UnreadablePortsFallBackToTheDefault) {
    EXPECT_EQ(ParseHostPort(L"host:", 443).port, 443);
    EXPECT_EQ(ParseHostPort(L"host:0", 443).port, 443);
    EXPECT_EQ(ParseHostPort(L"host:70000", 443).port, 443);
    EXPECT_EQ(ParseHostPort(L"host:12a", 443).host, L"host");
    EXPECT_EQ(ParseHostPort(L"::1", 443).host, L"::1");
}
