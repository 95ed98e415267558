// kestrix-uidriver: reads and operates the windows of other programs in the
// same Wine prefix for the end-to-end tests. It connects to the test side at
// --connect 127.0.0.1:<port> and serves one JSON request per line until the
// connection closes or a "quit" request comes (PROTOCOL.md).
#include "platform/WinsockSession_win.h"
#include "tools/uidriver/Commands.h"
#include "tools/uidriver/Connection.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>

namespace {

bool ParseAddress(const std::string& address, std::string& host, unsigned short& port) {
    const auto colon = address.rfind(':');
    if (colon == std::string::npos || colon == 0)
        return false;
    char* end = nullptr;
    const unsigned long value = std::strtoul(address.c_str() + colon + 1, &end, 10);
    if (*end != '\0' || value == 0 || value > 65535)
        return false;
    host = address.substr(0, colon);
    port = static_cast<unsigned short>(value);
    return true;
}

} // namespace

int main(int argc, char** argv) {
    std::string host;
    unsigned short port = 0;
    if (argc != 3 || std::string(argv[1]) != "--connect" || !ParseAddress(argv[2], host, port)) {
        std::fprintf(stderr, "usage: kestrix-uidriver --connect 127.0.0.1:<port>\n");
        return 2;
    }
    try {
        const platform::WinsockSession winsock(MAKEWORD(2, 2));
        if (!winsock.Started())
            throw std::runtime_error("WSAStartup failed");
        Connection connection(host, port);
        bool quit = false;
        while (!quit) {
            const auto line = connection.readLine();
            if (!line || !connection.writeLine(Serve(*line, quit)))
                break;
        }
        return 0;
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrix-uidriver: %s\n", error.what());
        return 1;
    }
}
