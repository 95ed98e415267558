#include "tools/standin/Connection.h"

#include <chrono>
#include <memory>
#include <poll.h>
#include <sys/socket.h>

#include "tools/standin/HttpRequestParser.h"
#include "tools/standin/Log.h"
#include "tools/standin/PlainStream.h"
#include "tools/standin/ResponseBuilder.h"
#include "tools/standin/ResponseSender.h"
#include "tools/standin/TlsStream.h"

namespace standin {

namespace {

// Empty when the parser finished (with a request or a refusal), else why not.
std::string readRequest(Stream& stream, HttpRequestParser& parser) {
    char buffer[16 * 1024];
    while (parser.status() == HttpRequestParser::Status::NeedMore) {
        long count = stream.read(buffer, sizeof buffer);
        if (count == 0) {
            return "the connection closed before the request was complete";
        }
        if (count < 0) {
            return "reading the request failed or timed out";
        }
        parser.feed(std::string_view(buffer, static_cast<std::size_t>(count)));
    }
    return {};
}

// Half-closes and reads what the client still sends, so that closing does
// not reset the connection before the client has read the answer.
void lingeringClose(int socket) {
    constexpr int kLingerMs = 2000;
    constexpr std::size_t kMaxDrain = 1 << 20;
    ::shutdown(socket, SHUT_WR);
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(kLingerMs);
    std::size_t drained = 0;
    while (drained < kMaxDrain) {
        auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd watched{socket, POLLIN, 0};
        if (left.count() <= 0 || ::poll(&watched, 1, static_cast<int>(left.count())) <= 0) {
            return;
        }
        char discard[4096];
        ssize_t count = ::recv(socket, discard, sizeof discard, 0);
        if (count <= 0) {
            return;
        }
        drained += static_cast<std::size_t>(count);
    }
}

std::string describe(const Recording& recording) {
    std::string line =
        "[" + std::string(serviceName(recording.service)) + "] " + recording.peer + " ";
    line +=
        recording.request.requestLine.empty() ? "(no request line)" : recording.request.requestLine;
    return line;
}

std::unique_ptr<Stream> openStream(int socket, const ConnectionInfo& info) {
    if (!info.tls) {
        return std::make_unique<PlainStream>(socket);
    }
    auto tls = std::make_unique<TlsStream>(info.tls, socket);
    std::string error;
    if (!tls->accept(error)) {
        logLine("[" + std::string(serviceName(info.service)) + "] TLS handshake with " + info.peer +
                " failed: " + error);
        return nullptr;
    }
    return tls;
}

Recording makeRecording(const ConnectionInfo& info, const HttpRequestParser& parser,
                        const std::string& readError) {
    Recording recording;
    recording.service = info.service;
    recording.receivedMs = nowMs();
    recording.tls = info.tls != nullptr;
    recording.peer = info.peer;
    recording.request = parser.request();
    recording.raw = parser.raw();
    recording.error = readError;
    if (parser.status() == HttpRequestParser::Status::Failed) {
        recording.error = std::to_string(parser.failureStatus()) + " " + parser.failureReason();
    }
    if (!readError.empty()) {
        recording.outcome = Outcome::None;
    }
    return recording;
}

// Answers the recorded request `id`; returns how the answer ended. `resetting`
// says the socket is set to reset the connection when it closes.
Outcome answer(Stream& stream, int socket, const ConnectionInfo& info,
               const HttpRequestParser& parser, std::uint64_t id, StandinState& state,
               const std::string& summary, bool& resetting) {
    Lifeline::Epoch epoch = state.lifeline.epoch();
    Outcome outcome = Outcome::Failed;
    int status = 0;
    try {
        Response response = parser.status() == HttpRequestParser::Status::Failed
                                ? refusalResponse(parser.failureStatus(), parser.failureReason())
                                : buildResponse(info.service, parser.request(),
                                                state.scripts.next(info.service), state);
        status = response.status;
        state.requests.setResponseStatus(id, status);
        ResponseSender sender(stream, socket, state.lifeline, epoch, [&](std::uint64_t sent) {
            state.requests.setBodyBytesSent(id, sent);
        });
        outcome = sender.send(response);
        resetting = outcome == Outcome::Cut && response.delivery.cutoff == Cutoff::Reset;
    } catch (const std::exception& error) {
        logLine(summary + ": answering failed: " + error.what());
    }
    logLine(summary + " -> " + (status ? std::to_string(status) : std::string("raw")) + " " +
            std::string(outcomeName(outcome)));
    return outcome;
}

// A scripted hold leaves the connection untouched, so that the client's
// request waits unread in the socket. The answer is only looked at: it stays
// the next one, for the request read after the hold. False when a reset of
// the stand-in or the shutdown ended the hold.
bool holdBeforeReading(const ConnectionInfo& info, StandinState& state) {
    // Taken first, so that a reset just after the look ends the hold.
    Lifeline::Epoch epoch = state.lifeline.epoch();
    std::optional<Answer> upcoming = state.scripts.peek(info.service);
    std::chrono::milliseconds hold =
        upcoming ? upcoming->delivery.holdBeforeRead : std::chrono::milliseconds(0);
    if (hold.count() == 0) {
        return true;
    }
    logLine("[" + std::string(serviceName(info.service)) + "] " + info.peer + ": holding " +
            std::to_string(hold.count()) + " ms before reading");
    return state.lifeline.sleepFor(hold, epoch);
}

} // namespace

void serveConnection(int socket, const ConnectionInfo& info, StandinState& state) {
    if (!holdBeforeReading(info, state)) {
        return;
    }
    std::unique_ptr<Stream> stream = openStream(socket, info);
    if (!stream) {
        return;
    }
    HttpRequestParser parser;
    std::string readError = readRequest(*stream, parser);
    if (parser.raw().empty()) {
        return;
    }
    Recording recording = makeRecording(info, parser, readError);
    std::string summary = describe(recording);
    if (!readError.empty()) {
        state.requests.add(std::move(recording));
        logLine(summary + ": " + readError);
        return;
    }
    std::uint64_t id = state.requests.add(std::move(recording));
    bool resetting = false;
    Outcome outcome = answer(*stream, socket, info, parser, id, state, summary, resetting);
    // Recorded before the socket closes, so a client that saw the end sees the final record.
    state.requests.finish(id, outcome);
    if (outcome == Outcome::Complete) {
        stream->closeCleanly();
    }
    // A half-close would send a FIN ahead of the reset.
    if (!resetting) {
        lingeringClose(socket);
    }
}

} // namespace standin
