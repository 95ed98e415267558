#pragma once
#include <cstdint>
#include <json/value.h>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// One scripted answer of the stand-in. Unset fields keep the service's
// default, so an answer that only sets delivery fields (chunkBytes,
// dropAfterBytes, ...) changes how the default answer is sent.
struct StandinAnswer {
    std::optional<int> status;
    std::optional<std::string> reason;
    std::optional<std::string> body;     // exact bytes
    std::optional<std::string> raw;      // the whole response, head included, sent as is
    std::optional<std::string> package;  // package service: serve this package
    std::optional<std::string> redirect; // Location; status 302 unless `status` says otherwise
    std::vector<std::string> headers;    // extra "Name: value" lines; they replace defaults
    // Content-Length: the body's size unless one of these is set.
    bool omitContentLength = false;             // none: the body ends with the connection
    std::optional<std::uint64_t> contentLength; // announce this whatever the body holds
    std::optional<std::uint64_t> chunkBytes;    // send in pieces of this size...
    std::optional<std::uint64_t> chunkDelayMs;  // ...with this pause between them
    std::optional<std::uint64_t> delayMs;       // before anything is sent
    // Before the connection is touched at all (no TLS handshake, no reading),
    // the request waiting unread; the answer is then used for that request.
    std::optional<std::uint64_t> holdBeforeReadMs;
    // At most one of the four cutoffs.
    std::optional<std::uint64_t> stallAfterBytes;   // then silence, until reset or 120 s
    std::optional<std::uint64_t> trickleAfterBytes; // then a byte every trickleIntervalMs
    std::optional<std::uint64_t> trickleIntervalMs; // default 200
    std::optional<std::uint64_t> dropAfterBytes;    // then close
    std::optional<std::uint64_t> resetAfterBytes;   // then reset the connection (TCP RST)

    // Without a body, a package download with a 2xx status still carries the package.
    static StandinAnswer withStatus(int status, std::optional<std::string> body = std::nullopt);
    static StandinAnswer json(std::string body);
    static StandinAnswer redirectTo(std::string url);

    Json::Value toJson() const;
};

} // namespace testsupport
