#include "tools/standin/Listeners.h"

#include <arpa/inet.h>
#include <cerrno>
#include <cstring>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>

namespace standin {

FileDescriptor listenOn(const std::string& address, int port) {
    sockaddr_storage storage{};
    socklen_t length = 0;
    int family = AF_INET;
    if (address.find(':') == std::string::npos) {
        auto* v4 = reinterpret_cast<sockaddr_in*>(&storage);
        v4->sin_family = AF_INET;
        v4->sin_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET, address.c_str(), &v4->sin_addr);
        length = sizeof(sockaddr_in);
    } else {
        family = AF_INET6;
        auto* v6 = reinterpret_cast<sockaddr_in6*>(&storage);
        v6->sin6_family = AF_INET6;
        v6->sin6_port = htons(static_cast<uint16_t>(port));
        inet_pton(AF_INET6, address.c_str(), &v6->sin6_addr);
        length = sizeof(sockaddr_in6);
    }
    // Non-blocking, so that accept never hangs on a connection that went away after poll.
    FileDescriptor socket(::socket(family, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0));
    int on = 1;
    bool ok = socket.valid() &&
              ::setsockopt(socket.get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) == 0 &&
              (family == AF_INET ||
               ::setsockopt(socket.get(), IPPROTO_IPV6, IPV6_V6ONLY, &on, sizeof on) == 0) &&
              ::bind(socket.get(), reinterpret_cast<sockaddr*>(&storage), length) == 0 &&
              ::listen(socket.get(), 64) == 0;
    if (!ok) {
        throw std::runtime_error("cannot listen on " + address + " port " + std::to_string(port) +
                                 ": " + std::strerror(errno));
    }
    return socket;
}

int boundPort(int socket) {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    if (::getsockname(socket, reinterpret_cast<sockaddr*>(&storage), &length) != 0) {
        return 0;
    }
    if (storage.ss_family == AF_INET) {
        return ntohs(reinterpret_cast<sockaddr_in*>(&storage)->sin_port);
    }
    return ntohs(reinterpret_cast<sockaddr_in6*>(&storage)->sin6_port);
}

std::string peerAddress(int socket) {
    sockaddr_storage storage{};
    socklen_t length = sizeof storage;
    char text[INET6_ADDRSTRLEN] = "?";
    if (::getpeername(socket, reinterpret_cast<sockaddr*>(&storage), &length) == 0) {
        if (storage.ss_family == AF_INET) {
            inet_ntop(AF_INET, &reinterpret_cast<sockaddr_in*>(&storage)->sin_addr, text,
                      sizeof text);
        } else {
            inet_ntop(AF_INET6, &reinterpret_cast<sockaddr_in6*>(&storage)->sin6_addr, text,
                      sizeof text);
        }
    }
    return text;
}

} // namespace standin
