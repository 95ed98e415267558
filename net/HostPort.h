#pragma once
#include <cstdint>
#include <string>

// A deployment value "host" or "host:port". A missing or unreadable port
// gives defaultPort (0 lets the Internet library pick the service's default).
struct HostPort {
    std::wstring host;
    uint16_t port;
};

HostPort ParseHostPort(const std::wstring& value, uint16_t defaultPort);
