#include "tools/harness/UiDriverConnection.h"

#include "tools/harness/UiDriverTypes.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <stdexcept>
#include <sys/socket.h>
#include <unistd.h>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

int millisecondsUntil(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return left.count() > 0 ? static_cast<int>(left.count()) : 0;
}

// Waits until fd has something to read; false when the deadline passes first.
bool readable(int fd, Clock::time_point deadline) {
    for (;;) {
        pollfd entry{fd, POLLIN, 0};
        const int ready = ::poll(&entry, 1, millisecondsUntil(deadline));
        if (ready > 0)
            return true;
        if (ready == 0 || errno != EINTR)
            return false;
    }
}

} // namespace

UiDriverConnection::UiDriverConnection() {
    listener_ = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (listener_ < 0)
        throw std::runtime_error(std::string("socket: ") + std::strerror(errno));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (::bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(listener_, 1) != 0 ||
        ::getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        const std::string reason = std::strerror(errno);
        ::close(listener_);
        throw std::runtime_error("cannot listen on loopback: " + reason);
    }
    port_ = ntohs(address.sin_port);
}

UiDriverConnection::~UiDriverConnection() {
    if (connection_ >= 0)
        ::close(connection_);
    ::close(listener_);
}

bool UiDriverConnection::acceptDriver(std::chrono::milliseconds timeout,
                                      const std::function<bool()>& gaveUp) {
    const auto deadline = Clock::now() + timeout;
    while (Clock::now() < deadline) {
        if (readable(listener_,
                     std::min(deadline, Clock::now() + std::chrono::milliseconds(100)))) {
            connection_ = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
            if (connection_ >= 0) {
                const int on = 1;
                ::setsockopt(connection_, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
                return true;
            }
        }
        if (gaveUp())
            return false;
    }
    return false;
}

std::string UiDriverConnection::exchange(const std::string& line,
                                         std::chrono::milliseconds timeout) {
    if (connection_ < 0)
        throw UiDriverError("no-answer", "the driver is not connected");
    // After a failure a late answer could be taken for the next one's: hang up.
    struct HangUpUnlessAnswered {
        int& fd;
        bool answered = false;
        ~HangUpUnlessAnswered() {
            if (!answered) {
                ::close(fd);
                fd = -1;
            }
        }
    } guard{connection_};
    const std::string data = line + "\n";
    for (size_t sent = 0; sent < data.size();) {
        const ssize_t n = ::send(connection_, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            throw UiDriverError("no-answer", "the driver has hung up");
        sent += static_cast<size_t>(n);
    }
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        const auto end = pending_.find('\n');
        if (end != std::string::npos) {
            std::string answer = pending_.substr(0, end);
            pending_.erase(0, end + 1);
            guard.answered = true;
            return answer;
        }
        if (!readable(connection_, deadline))
            throw UiDriverError("no-answer", "the driver did not answer in time");
        char buffer[4096];
        const ssize_t got = ::recv(connection_, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            throw UiDriverError("no-answer", "the driver has hung up");
        pending_.append(buffer, static_cast<size_t>(got));
    }
}

} // namespace testsupport
