#include "tools/uidriver/Connection.h"

#include <ws2tcpip.h>

#include <stdexcept>

Connection::Connection(const std::string& host, unsigned short port) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    if (inet_pton(AF_INET, host.c_str(), &address.sin_addr) != 1)
        throw std::runtime_error("not an IPv4 address: " + host);
    m_socket = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    if (m_socket == INVALID_SOCKET)
        throw std::runtime_error("socket failed");
    if (connect(m_socket, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0) {
        closesocket(m_socket);
        throw std::runtime_error("cannot connect to " + host + ":" + std::to_string(port));
    }
    // Requests and responses are single small lines: send them at once.
    BOOL noDelay = TRUE;
    setsockopt(m_socket, IPPROTO_TCP, TCP_NODELAY, reinterpret_cast<const char*>(&noDelay),
               sizeof noDelay);
}

Connection::~Connection() {
    closesocket(m_socket);
}

std::optional<std::string> Connection::readLine() {
    for (;;) {
        const auto end = m_pending.find('\n');
        if (end != std::string::npos) {
            std::string line = m_pending.substr(0, end);
            m_pending.erase(0, end + 1);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            return line;
        }
        char buffer[4096];
        const int got = recv(m_socket, buffer, sizeof buffer, 0);
        if (got <= 0)
            return std::nullopt;
        m_pending.append(buffer, static_cast<size_t>(got));
    }
}

bool Connection::writeLine(const std::string& line) {
    const std::string data = line + "\n";
    size_t sent = 0;
    while (sent < data.size()) {
        const int n = send(m_socket, data.data() + sent, static_cast<int>(data.size() - sent), 0);
        if (n <= 0)
            return false;
        sent += static_cast<size_t>(n);
    }
    return true;
}
