#pragma once
#include <httplib.h>
#include <json/json.h>
#include <thread>

#include "tools/standin/ServiceListeners.h"
#include "tools/standin/StandinState.h"

namespace standin {

// The ports in use, as ports.json and the ready answer give them.
Json::Value portsJson(const Ports& ports);

// The HTTP API on which tests script answers, register packages, read the
// recordings and break services. JSON in and out; errors are {"error": "..."}
// with 400 or 404. Besides reading and scripting:
//   POST /down/<service>, POST /up/<service>: stop listening on the service's
//     port, so that connecting is refused, and listen on it again.
//   POST /certificate/<logconf|collector> {"certificate": "trusted" |
//     "untrusted" | "wrong-host"}: the certificate presented from the next
//     connection on.
//   POST /reset: back to the defaults, every service listening and presenting
//     the trusted certificate.
class ControlApi {
public:
    ControlApi(StandinState& state, ServiceListeners& listeners);
    ControlApi(const ControlApi&) = delete;
    ControlApi& operator=(const ControlApi&) = delete;
    ~ControlApi();

    // Binds 127.0.0.1:`port` (0 picks one) and puts the port in the state.
    // Throws std::runtime_error when it cannot.
    void bind(int port);
    void start();
    void stop();

private:
    void route();

    StandinState& state_;
    ServiceListeners& listeners_;
    httplib::Server server_;
    std::thread thread_;
};

} // namespace standin
