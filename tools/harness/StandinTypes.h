#pragma once
#include "tools/standin/Ports.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// Service names on the control API.
inline constexpr const char* kStandinUpdate = "update";
inline constexpr const char* kStandinPackage = "package";
inline constexpr const char* kStandinLogConf = "logconf";
inline constexpr const char* kStandinCollector = "collector";

// The certificate a TLS service (logconf, collector) presents: the test CA's
// for localhost, one for localhost from a CA no client trusts, or one from
// the test CA for another host name only.
enum class StandinCertificate { Trusted, Untrusted, WrongHost };

using StandinPorts = standin::Ports;

struct StandinPackage {
    std::string name;
    std::uint64_t size = 0;
    std::string sha256; // lowercase hex
    std::string url;    // http://127.0.0.1:<package port>/packages/<name>
};

// One request as the stand-in received it, byte for byte.
struct StandinRequest {
    std::uint64_t id = 0;
    std::string service;
    std::int64_t receivedMs = 0;
    bool tls = false;
    std::string peer; // "127.0.0.1" or "::1"
    std::string requestLine;
    std::string method;
    std::string target;
    std::string version;
    std::vector<std::string> headers; // lines as received, without line ends
    std::string body;                 // chunked framing removed
    std::string raw;                  // every byte of the request
    std::string error;                // why it was refused or is incomplete; empty if fine
    int responseStatus = 0;           // 0 for a raw answer or none
    std::uint64_t bodyBytesSent = 0;
    // pending | complete | cut | client_gone | cancelled | failed | none
    std::string outcome;

    // The value of the first header line with this name (any case), trimmed.
    std::optional<std::string> header(std::string_view name) const;
};

} // namespace testsupport
