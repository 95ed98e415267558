#include "tests/standin/RawHttp.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>

#include "tools/standin/HttpRequest.h"

namespace standintest {

RawConnection::RawConnection(int port, const char* address) {
    bool v6 = std::strchr(address, ':') != nullptr;
    socket_ =
        standin::FileDescriptor(::socket(v6 ? AF_INET6 : AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_storage storage{};
    socklen_t length;
    if (v6) {
        auto* in6 = reinterpret_cast<sockaddr_in6*>(&storage);
        in6->sin6_family = AF_INET6;
        in6->sin6_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET6, address, &in6->sin6_addr);
        length = sizeof *in6;
    } else {
        auto* in4 = reinterpret_cast<sockaddr_in*>(&storage);
        in4->sin_family = AF_INET;
        in4->sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address, &in4->sin_addr);
        length = sizeof *in4;
    }
    // A stand-in that stops answering fails the test instead of hanging it.
    timeval timeout{20, 0};
    if (!socket_.valid() ||
        ::setsockopt(socket_.get(), SOL_SOCKET, SO_RCVTIMEO, &timeout, sizeof timeout) != 0 ||
        ::connect(socket_.get(), reinterpret_cast<sockaddr*>(&storage), length) != 0) {
        throw std::runtime_error("cannot connect to " + std::string(address) + " port " +
                                 std::to_string(port) + ": " + std::strerror(errno));
    }
}

void RawConnection::send(std::string_view bytes) {
    while (!bytes.empty()) {
        ssize_t count = ::send(socket_.get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (count <= 0) {
            throw std::runtime_error(std::string("send failed: ") + std::strerror(errno));
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
}

const std::string& RawConnection::readAtLeast(std::size_t count) {
    char buffer[65536];
    while (!closed_ && received_.size() < count) {
        ssize_t got = ::recv(socket_.get(), buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) {
            throw std::runtime_error("no answer from the stand-in within 20 s");
        }
        if (got <= 0) {
            closeError_ = got < 0 ? errno : 0;
            closed_ = true;
            break;
        }
        received_.append(buffer, static_cast<std::size_t>(got));
    }
    return received_;
}

const std::string& RawConnection::readToEnd() {
    return readAtLeast(std::string::npos);
}

std::string roundTrip(int port, std::string_view request, const char* address) {
    RawConnection connection(port, address);
    connection.send(request);
    return connection.readToEnd();
}

std::string RawResponse::header(std::string_view name) const {
    std::vector<std::string> values = standin::headerValues(headers, name);
    return values.empty() ? std::string() : values.front();
}

bool RawResponse::hasHeader(std::string_view name) const {
    return !standin::headerValues(headers, name).empty();
}

RawResponse parseResponse(const std::string& bytes) {
    RawResponse response;
    std::size_t headEnd = bytes.find("\r\n\r\n");
    if (headEnd == std::string::npos) {
        throw std::runtime_error("no complete response head in: " + bytes.substr(0, 200));
    }
    std::size_t position = 0;
    while (position < headEnd) {
        std::size_t lineEnd = bytes.find("\r\n", position);
        std::string line = bytes.substr(position, lineEnd - position);
        if (response.statusLine.empty()) {
            response.statusLine = line;
        } else {
            response.headers.push_back(line);
        }
        position = lineEnd + 2;
    }
    if (response.statusLine.size() >= 12) {
        response.status = std::stoi(response.statusLine.substr(9, 3));
    }
    response.body = bytes.substr(headEnd + 4);
    return response;
}

} // namespace standintest
