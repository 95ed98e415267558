#pragma once
#include <cstdint>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tools/standin/HttpRequest.h"
#include "tools/standin/Service.h"

namespace standin {

// How the answer to a recorded request ended.
enum class Outcome {
    Pending,    // still being answered
    Complete,   // answered in full
    Cut,        // ended on purpose by drop/stall/trickle
    ClientGone, // the client closed or stopped reading
    Cancelled,  // a reset or the shutdown ended it
    Failed,     // the stand-in could not produce the answer (a package file unreadable)
    None,       // the request never completed, so nothing was answered
};

std::string_view outcomeName(Outcome outcome);

struct Recording {
    std::uint64_t id = 0;
    Service service = Service::Update;
    std::int64_t receivedMs = 0;
    bool tls = false;
    std::string peer;
    HttpRequest request;
    std::string raw;
    std::string error; // why the request was refused or is incomplete; empty if well-formed
    int responseStatus = 0;
    std::uint64_t bodyBytesSent = 0;
    Outcome outcome = Outcome::Pending;
};

// Every request on every service, in arrival order. Ids keep growing across
// clears, so a connection left from before a reset cannot touch a new record.
class RequestLog {
public:
    std::uint64_t add(Recording recording);
    void setResponseStatus(std::uint64_t id, int status);
    void setBodyBytesSent(std::uint64_t id, std::uint64_t bytes);
    void finish(std::uint64_t id, Outcome outcome);

    // All services when `service` is empty.
    std::vector<Recording> snapshot(std::optional<Service> service) const;
    void clear();

private:
    Recording* find(std::uint64_t id);

    mutable std::mutex mutex_;
    std::vector<Recording> recordings_;
    std::uint64_t nextId_ = 1;
};

} // namespace standin
