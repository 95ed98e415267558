#include "tools/standin/ResponseSender.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <stdexcept>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <vector>

namespace standin {

namespace {

constexpr std::size_t kPieceBytes = 64 * 1024;
constexpr int kPollSliceMs = 100;
constexpr std::chrono::seconds kResetDrainLimit{10};

} // namespace

ResponseSender::ResponseSender(Stream& stream, int socket, const Lifeline& lifeline,
                               Lifeline::Epoch epoch, Progress progress)
    : stream_(stream), socket_(socket), lifeline_(lifeline), epoch_(epoch),
      progress_(std::move(progress)) {}

Outcome ResponseSender::lost() const {
    // The shutdown closes the sockets too; tell that apart from a client leaving.
    return lifeline_.alive(epoch_) ? Outcome::ClientGone : Outcome::Cancelled;
}

Outcome ResponseSender::send(Response& response) {
    const Delivery& delivery = response.delivery;
    if (delivery.delay.count() > 0 && !lifeline_.sleepFor(delivery.delay, epoch_)) {
        return Outcome::Cancelled;
    }
    if (!response.head.empty() && !stream_.write(response.head)) {
        return lost();
    }
    bool hasBody = response.sendBody && response.body;
    std::uint64_t total = hasBody ? response.body->size() : 0;
    // A cutoff at or before the end of the body applies; one beyond it never comes.
    bool cutoff = delivery.cutoff != Cutoff::None && delivery.cutoffAfter <= total;
    std::uint64_t limit = cutoff ? delivery.cutoffAfter : total;
    if (limit > 0) {
        Outcome outcome = sendBody(*response.body, limit, delivery);
        if (outcome != Outcome::Complete) {
            return outcome;
        }
    }
    if (!cutoff) {
        return Outcome::Complete;
    }
    switch (delivery.cutoff) {
    case Cutoff::Drop:
        return Outcome::Cut;
    case Cutoff::Reset:
        return resetOnClose();
    case Cutoff::Stall:
        return holdSilently();
    case Cutoff::Trickle:
        return hasBody ? trickle(*response.body, delivery) : Outcome::Complete;
    case Cutoff::None:
        break;
    }
    return Outcome::Complete;
}

Outcome ResponseSender::sendBody(BodySource& body, std::uint64_t limit, const Delivery& delivery) {
    std::size_t piece = delivery.chunkBytes > 0 ? delivery.chunkBytes : kPieceBytes;
    while (sent_ < limit) {
        if (!lifeline_.alive(epoch_)) {
            return Outcome::Cancelled;
        }
        std::size_t size = static_cast<std::size_t>(std::min<std::uint64_t>(piece, limit - sent_));
        if (!sendPiece(body, size)) {
            return lost();
        }
        if (delivery.chunkDelay.count() > 0 && sent_ < limit &&
            !lifeline_.sleepFor(delivery.chunkDelay, epoch_)) {
            return Outcome::Cancelled;
        }
    }
    return Outcome::Complete;
}

bool ResponseSender::sendPiece(BodySource& body, std::size_t size) {
    std::vector<char> buffer(size);
    for (std::size_t filled = 0; filled < size;) {
        std::size_t count = body.read(buffer.data() + filled, size - filled);
        if (count == 0) {
            throw std::runtime_error("the body ended before its announced size");
        }
        filled += count;
    }
    if (!stream_.write(std::string_view(buffer.data(), size))) {
        return false;
    }
    sent_ += size;
    progress_(sent_);
    return true;
}

Outcome ResponseSender::holdSilently() {
    auto deadline = std::chrono::steady_clock::now() + kMaxHold;
    while (std::chrono::steady_clock::now() < deadline) {
        if (!lifeline_.alive(epoch_)) {
            return Outcome::Cancelled;
        }
        pollfd watched{socket_, POLLIN, 0};
        if (::poll(&watched, 1, kPollSliceMs) > 0) {
            // Nothing more is written on this connection, so whatever comes in
            // is only watched for the client's leaving.
            char discard[4096];
            ssize_t count = ::recv(socket_, discard, sizeof discard, MSG_DONTWAIT);
            if (count == 0 || (count < 0 && errno != EAGAIN && errno != EINTR)) {
                return lost();
            }
        }
    }
    return Outcome::Cut;
}

Outcome ResponseSender::resetOnClose() {
    // A reset throws away what the socket still queues, so the bytes sent
    // first reach the client (unless it stops reading).
    auto deadline = std::chrono::steady_clock::now() + kResetDrainLimit;
    int queued = 0;
    while (::ioctl(socket_, TIOCOUTQ, &queued) == 0 && queued > 0 &&
           std::chrono::steady_clock::now() < deadline) {
        if (!lifeline_.sleepFor(std::chrono::milliseconds(5), epoch_)) {
            return Outcome::Cancelled;
        }
    }
    // With a zero linger time, closing sends a RST instead of a FIN.
    linger abort{1, 0};
    ::setsockopt(socket_, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
    return Outcome::Cut;
}

Outcome ResponseSender::trickle(BodySource& body, const Delivery& delivery) {
    auto deadline = std::chrono::steady_clock::now() + kMaxHold;
    while (sent_ < body.size()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return Outcome::Cut;
        }
        if (!lifeline_.sleepFor(delivery.trickleInterval, epoch_)) {
            return Outcome::Cancelled;
        }
        if (!sendPiece(body, 1)) {
            return lost();
        }
    }
    return Outcome::Complete;
}

} // namespace standin
