#include "tools/harness/HttpControlTransport.h"

#include <httplib.h>

#include <stdexcept>

namespace testsupport {

ControlReply HttpControlTransport(int port, const std::string& method, const std::string& path,
                                  const std::string& body) {
    httplib::Client client("127.0.0.1", port);
    client.set_connection_timeout(std::chrono::seconds(5));
    // Registering a large package hashes all of it first.
    client.set_read_timeout(std::chrono::seconds(120));
    httplib::Result result =
        method == "GET" ? client.Get(path) : client.Post(path, body, "application/json");
    if (!result)
        throw std::runtime_error(httplib::to_string(result.error()));
    return ControlReply{result->status, result->body};
}

} // namespace testsupport
