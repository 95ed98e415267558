#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "tools/standin/HttpRequest.h"

namespace standin {

struct ParseLimits {
    std::size_t maxHeadBytes = 64 * 1024;
    std::size_t maxBodyBytes = 16 * 1024 * 1024;
};

// Reads one HTTP/1.x request from bytes fed as they arrive. The body is read
// by Content-Length whatever the method, since clients send bodies with GET
// too; other framings, which the installer never sends, are refused (501).
// Anything malformed or too large fails with the status to answer and a
// reason that says why.
class HttpRequestParser {
public:
    enum class Status { NeedMore, Complete, Failed };

    explicit HttpRequestParser(ParseLimits limits = {});

    Status feed(std::string_view bytes);
    Status status() const;

    bool headComplete() const;

    const HttpRequest& request() const { return request_; }
    // Every byte of this request as received; bytes after its end are not kept.
    const std::string& raw() const { return raw_; }
    int failureStatus() const { return failureStatus_; }
    const std::string& failureReason() const { return failureReason_; }

private:
    enum class Stage { Head, FixedBody, Done, Failed };

    // Each returns false when it needs more bytes.
    bool stepHead();
    bool stepFixedBody();

    bool nextLine(std::string_view& line);
    void acceptRequestLine(std::string_view line);
    void acceptHeaderLine(std::string_view line);
    void finishHead();
    void fail(int status, std::string reason);

    ParseLimits limits_;
    Stage stage_ = Stage::Head;
    HttpRequest request_;
    std::string raw_;
    std::size_t position_ = 0;
    std::uint64_t remaining_ = 0;
    int failureStatus_ = 0;
    std::string failureReason_;
};

} // namespace standin
