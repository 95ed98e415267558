#pragma once
#include <string>

#include "tools/standin/OpensslHandles.h"
#include "tools/standin/Service.h"
#include "tools/standin/StandinState.h"

namespace standin {

struct ConnectionInfo {
    Service service = Service::Update;
    std::string peer;
    SSL_CTX* tls = nullptr; // null for plain HTTP
};

// Serves one accepted connection: after a scripted hold, reads one request,
// records it, answers and closes. The caller owns and finally closes the
// socket.
void serveConnection(int socket, const ConnectionInfo& info, StandinState& state);

} // namespace standin
