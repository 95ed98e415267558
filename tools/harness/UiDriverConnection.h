#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

namespace testsupport {

// The test side's end of the driver's connection: it listens on a free
// loopback port, the driver (started with --connect 127.0.0.1:<port>) connects,
// and then each request is one line out and one line back. The sockets are
// close-on-exec, so Wine programs started later do not inherit them.
class UiDriverConnection {
public:
    // Throws std::runtime_error when no port can be had.
    UiDriverConnection();
    ~UiDriverConnection();
    UiDriverConnection(const UiDriverConnection&) = delete;
    UiDriverConnection& operator=(const UiDriverConnection&) = delete;

    std::uint16_t port() const { return port_; }

    // Waits for the driver to connect. Returns false when the timeout passes or
    // `gaveUp` (asked every 100 ms) says the driver will not come.
    bool acceptDriver(std::chrono::milliseconds timeout, const std::function<bool()>& gaveUp);

    // Sends one line and returns the answer line. Throws UiDriverError
    // "no-answer" when none comes within the timeout or the driver hung up;
    // the connection is closed then, and later exchanges fail the same way.
    std::string exchange(const std::string& line, std::chrono::milliseconds timeout);

private:
    int listener_ = -1;
    int connection_ = -1;
    std::uint16_t port_ = 0;
    std::string pending_;
};

} // namespace testsupport
