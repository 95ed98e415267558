#pragma once
#include <chrono>
#include <cstdint>
#include <json/value.h>
#include <string>
#include <vector>

#include "tools/harness/StandinAnswer.h"
#include "tools/harness/StandinTypes.h"

namespace testsupport {

// The control API's answer to one request.
struct ControlReply {
    int status = 0;
    std::string body;
};

// Carries one request to the control API on 127.0.0.1 (tools/standin/
// PROTOCOL.md): natively over HTTP (HttpControlTransport), under Wine through
// WinINet (the Windows integration tests). Throws std::runtime_error when
// nothing answers.
using ControlTransport = ControlReply (*)(int port, const std::string& method,
                                          const std::string& path, const std::string& body);

// Talks to a running stand-in's control API, in both trees. Every call throws
// std::runtime_error with the stand-in's explanation when it fails.
class StandinClient {
public:
    explicit StandinClient(ControlTransport transport, int controlPort = StandinPorts{}.control);

    bool ready() const; // false while nothing answers; never throws
    StandinPorts ports() const;

    // Forgets scripts, recordings, registered packages, chosen certificates
    // and a fixed server time; ends answers still in flight (stalls,
    // trickles, holds); every service listens again.
    void reset() const;

    // Answers for the service's next requests, in order. After the last one
    // the last repeats, or with `thenDefault` the defaults come back.
    void script(const std::string& service, const std::vector<StandinAnswer>& answers,
                bool thenDefault = false) const;
    // The same from a raw JSON script document.
    void script(const std::string& service, const Json::Value& document) const;

    StandinPackage registerPackageFile(const std::string& name, const std::string& path) const;
    StandinPackage registerGeneratedPackage(const std::string& name, std::uint64_t size,
                                            std::uint64_t seed) const;

    // In arrival order; all services when `service` is empty.
    std::vector<StandinRequest> requests(const std::string& service = {}) const;
    // Polls until at least `count` requests arrived (bounded by `timeout`)
    // and returns what is there by then.
    std::vector<StandinRequest> waitForRequests(const std::string& service, std::size_t count,
                                                std::chrono::milliseconds timeout) const;

    // The log-configuration server's serverTime; the clock again after reset.
    void setServerTime(std::int64_t ms) const;

    // Down: the service's port has no listener, so connecting is refused;
    // connections already made carry on. Up: it listens on the same port again.
    void setServiceDown(const std::string& service, bool down) const;

    // The certificate a TLS service presents from its next connection on.
    void setCertificate(const std::string& service, StandinCertificate certificate) const;

    int controlPort() const { return controlPort_; }

private:
    Json::Value call(const std::string& method, const std::string& path,
                     const Json::Value* body) const;

    ControlTransport transport_;
    int controlPort_;
};

} // namespace testsupport
