#include "tools/harness/StandinAnswer.h"

#include "tools/standin/Base64.h"

namespace testsupport {

StandinAnswer StandinAnswer::withStatus(int status, std::optional<std::string> body) {
    StandinAnswer answer;
    answer.status = status;
    answer.body = std::move(body);
    return answer;
}

StandinAnswer StandinAnswer::json(std::string body) {
    StandinAnswer answer;
    answer.status = 200;
    answer.body = std::move(body);
    return answer;
}

StandinAnswer StandinAnswer::redirectTo(std::string url) {
    StandinAnswer answer;
    answer.redirect = std::move(url);
    return answer;
}

Json::Value StandinAnswer::toJson() const {
    Json::Value out(Json::objectValue);
    auto number = [&out](const char* name, const std::optional<std::uint64_t>& value) {
        if (value) {
            out[name] = Json::UInt64(*value);
        }
    };
    if (status) {
        out["status"] = *status;
    }
    if (reason) {
        out["reason"] = *reason;
    }
    // Bytes travel as base64 so that any byte survives the JSON.
    if (body) {
        out["body_base64"] = standin::base64Encode(*body);
    }
    if (raw) {
        out["raw_base64"] = standin::base64Encode(*raw);
    }
    if (package) {
        out["package"] = *package;
    }
    if (redirect) {
        out["redirect"] = *redirect;
    }
    if (!headers.empty()) {
        Json::Value lines(Json::arrayValue);
        for (const std::string& line : headers) {
            lines.append(line);
        }
        out["headers"] = lines;
    }
    if (omitContentLength) {
        out["content_length"] = "none";
    } else if (contentLength) {
        out["content_length"] = Json::UInt64(*contentLength);
    }
    number("chunk_bytes", chunkBytes);
    number("chunk_delay_ms", chunkDelayMs);
    number("delay_ms", delayMs);
    number("hold_before_read_ms", holdBeforeReadMs);
    number("stall_after_bytes", stallAfterBytes);
    number("trickle_after_bytes", trickleAfterBytes);
    number("trickle_interval_ms", trickleIntervalMs);
    number("drop_after_bytes", dropAfterBytes);
    number("reset_after_bytes", resetAfterBytes);
    return out;
}

} // namespace testsupport
