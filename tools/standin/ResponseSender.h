#pragma once
#include <cstdint>
#include <functional>

#include "tools/standin/Lifeline.h"
#include "tools/standin/RequestLog.h"
#include "tools/standin/Response.h"
#include "tools/standin/Stream.h"

namespace standin {

// Sends a response the way its delivery settings ask: after a delay, in
// slow pieces, or cut off by a drop, a connection reset, a stall or a
// trickle. Every wait ends early on a reset of the stand-in or the shutdown.
class ResponseSender {
public:
    using Progress = std::function<void(std::uint64_t bodyBytesSent)>;

    ResponseSender(Stream& stream, int socket, const Lifeline& lifeline, Lifeline::Epoch epoch,
                   Progress progress);

    // How the answer ended. Throws when the body cannot be read.
    Outcome send(Response& response);

private:
    Outcome sendBody(BodySource& body, std::uint64_t limit, const Delivery& delivery);
    Outcome holdSilently();
    Outcome resetOnClose();
    Outcome trickle(BodySource& body, const Delivery& delivery);
    bool sendPiece(BodySource& body, std::size_t size);
    Outcome lost() const;

    Stream& stream_;
    int socket_;
    const Lifeline& lifeline_;
    Lifeline::Epoch epoch_;
    Progress progress_;
    std::uint64_t sent_ = 0;
};

} // namespace standin
