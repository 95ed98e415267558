#include "tools/standin/RecordingJson.h"

#include "tools/standin/Base64.h"
#include "tools/standin/Utf8.h"

namespace standin {

Json::Value recordingJson(const Recording& recording) {
    Json::Value out(Json::objectValue);
    out["id"] = Json::UInt64(recording.id);
    out["service"] = std::string(serviceName(recording.service));
    out["received_ms"] = Json::Int64(recording.receivedMs);
    out["tls"] = recording.tls;
    out["peer"] = recording.peer;
    out["request_line"] = textFromBytes(recording.request.requestLine);
    out["request_line_base64"] = base64Encode(recording.request.requestLine);
    out["method"] = recording.request.method;
    out["target"] = textFromBytes(recording.request.target);
    out["version"] = recording.request.version;
    Json::Value headers(Json::arrayValue);
    Json::Value headersBase64(Json::arrayValue);
    for (const std::string& line : recording.request.headerLines) {
        headers.append(textFromBytes(line));
        headersBase64.append(base64Encode(line));
    }
    out["headers"] = headers;
    out["headers_base64"] = headersBase64;
    out["body_base64"] = base64Encode(recording.request.body);
    if (isValidUtf8(recording.request.body)) {
        out["body"] = recording.request.body;
    }
    out["raw_base64"] = base64Encode(recording.raw);
    if (!recording.error.empty()) {
        out["error"] = textFromBytes(recording.error);
    }
    out["response_status"] = recording.responseStatus;
    out["body_bytes_sent"] = Json::UInt64(recording.bodyBytesSent);
    out["outcome"] = std::string(outcomeName(recording.outcome));
    return out;
}

} // namespace standin
