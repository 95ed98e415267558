#pragma once
#include <winsock2.h>

#include <optional>
#include <string>

// The one TCP connection to the test side, carrying a line of text each way
// per request.
class Connection {
public:
    // Connects to host:port (numeric IPv4); throws std::runtime_error.
    Connection(const std::string& host, unsigned short port);
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    // The next line without its line end, or nothing when the peer has gone.
    std::optional<std::string> readLine();
    bool writeLine(const std::string& line);

private:
    SOCKET m_socket = INVALID_SOCKET;
    std::string m_pending;
};
