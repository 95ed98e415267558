#pragma once
#include <string>

#include "tools/standin/FileDescriptor.h"

namespace standin {

// A listening TCP socket on a loopback address ("127.0.0.1" or "::1"); port 0
// picks a free one. Throws std::runtime_error saying why binding failed.
FileDescriptor listenOn(const std::string& address, int port);

int boundPort(int socket);

// The peer's address as text, "127.0.0.1" or "::1".
std::string peerAddress(int socket);

} // namespace standin
