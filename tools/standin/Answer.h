#pragma once
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace standin {

enum class LengthMode {
    Auto,  // the body's real size
    None,  // no Content-Length; the body ends when the connection closes
    Fixed, // announce `announcedLength` whatever the body holds
};

// What happens once `cutoffAfter` body bytes are out.
enum class Cutoff {
    None,
    Stall,   // fall silent, connection open, until a reset, the client leaves or kMaxHold
    Trickle, // one byte per trickleInterval until the body ends, a reset or kMaxHold
    Drop,    // close the connection at once
    Reset,   // reset the connection once the bytes sent arrived (the client sees a TCP RST)
};

// How the bytes of an answer go out.
struct Delivery {
    LengthMode lengthMode = LengthMode::Auto;
    std::uint64_t announcedLength = 0;
    std::size_t chunkBytes = 0; // 0: as fast as the client reads
    std::chrono::milliseconds chunkDelay{0};
    Cutoff cutoff = Cutoff::None;
    std::uint64_t cutoffAfter = 0;
    std::chrono::milliseconds trickleInterval{200};
    std::chrono::milliseconds delay{0}; // before anything is sent
    // Between accepting the connection and touching it (no TLS handshake, no
    // reading), so that the client's request waits unread in the socket.
    std::chrono::milliseconds holdBeforeRead{0};
};

// Longest a stall or a trickle holds a connection.
inline constexpr std::chrono::seconds kMaxHold{120};

// One scripted answer. Fields left empty take the service's default, so an
// answer with only delivery settings changes how the default answer is sent.
struct Answer {
    std::optional<int> status;
    std::optional<std::string> reason;
    std::optional<std::string> body;
    std::optional<std::string> raw; // the whole response, head included, sent as is
    std::optional<std::string> package;
    std::optional<std::string> redirect;
    std::vector<std::string> headers;
    Delivery delivery;
};

// Answers for the next requests to one service, used in order.
struct Script {
    std::vector<Answer> answers;
    bool thenDefault = false; // after the last answer: defaults (true) or the last again
};

} // namespace standin
