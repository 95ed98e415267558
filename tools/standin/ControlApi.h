#pragma once
#include <httplib.h>
#include <json/json.h>
#include <thread>

#include "tools/standin/StandinState.h"

namespace standin {

// The ports in use, as ports.json and the ready answer give them.
Json::Value portsJson(const Ports& ports);

// The HTTP API on which tests script answers, register packages and read
// the recordings. JSON in and out; errors are {"error": "..."} with 400 or 404.
class ControlApi {
public:
    explicit ControlApi(StandinState& state);
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
    httplib::Server server_;
    std::thread thread_;
};

} // namespace standin
