#include "tools/standin/HttpRequestParser.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace standin {

namespace {

bool isTokenChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) ||
           std::strchr("!#$%&'*+-.^_`|~", c) != nullptr;
}

bool isToken(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), isTokenChar);
}

bool isAllDigits(std::string_view text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

} // namespace

HttpRequestParser::HttpRequestParser(ParseLimits limits) : limits_(limits) {}

HttpRequestParser::Status HttpRequestParser::status() const {
    if (stage_ == Stage::Done) {
        return Status::Complete;
    }
    return stage_ == Stage::Failed ? Status::Failed : Status::NeedMore;
}

bool HttpRequestParser::headComplete() const {
    return stage_ != Stage::Head && stage_ != Stage::Failed;
}

HttpRequestParser::Status HttpRequestParser::feed(std::string_view bytes) {
    if (stage_ == Stage::Done || stage_ == Stage::Failed) {
        return status();
    }
    raw_.append(bytes.data(), bytes.size());
    bool progressing = true;
    while (progressing) {
        switch (stage_) {
        case Stage::Head:
            progressing = stepHead();
            break;
        case Stage::FixedBody:
            progressing = stepFixedBody();
            break;
        case Stage::Done:
            raw_.resize(position_);
            progressing = false;
            break;
        case Stage::Failed:
            progressing = false;
            break;
        }
    }
    return status();
}

bool HttpRequestParser::nextLine(std::string_view& line) {
    std::size_t newline = raw_.find('\n', position_);
    if (newline == std::string::npos) {
        return false;
    }
    std::size_t end = newline;
    if (end > position_ && raw_[end - 1] == '\r') {
        --end;
    }
    line = std::string_view(raw_).substr(position_, end - position_);
    position_ = newline + 1;
    return true;
}

bool HttpRequestParser::stepHead() {
    std::string_view line;
    bool haveLine = nextLine(line);
    if (position_ > limits_.maxHeadBytes || (!haveLine && raw_.size() > limits_.maxHeadBytes)) {
        fail(400, "request head larger than " + std::to_string(limits_.maxHeadBytes) + " bytes");
        return false;
    }
    if (!haveLine) {
        return false;
    }
    if (request_.requestLine.empty()) {
        // Blank lines before the request line are tolerated, as RFC 9112 asks.
        if (!line.empty()) {
            acceptRequestLine(line);
        }
    } else if (line.empty()) {
        finishHead();
    } else {
        acceptHeaderLine(line);
    }
    return stage_ != Stage::Failed;
}

void HttpRequestParser::acceptRequestLine(std::string_view line) {
    std::size_t first = line.find(' ');
    std::size_t second = first == std::string_view::npos ? first : line.find(' ', first + 1);
    if (second == std::string_view::npos || line.find(' ', second + 1) != std::string_view::npos) {
        fail(400, "malformed request line");
        return;
    }
    std::string_view method = line.substr(0, first);
    std::string_view target = line.substr(first + 1, second - first - 1);
    std::string_view version = line.substr(second + 1);
    bool targetOk = !target.empty() && std::all_of(target.begin(), target.end(), [](char c) {
        return static_cast<unsigned char>(c) > 0x20 && c != 0x7F;
    });
    bool versionOk = version.size() == 8 && version.substr(0, 5) == "HTTP/" &&
                     std::isdigit(static_cast<unsigned char>(version[5])) && version[6] == '.' &&
                     std::isdigit(static_cast<unsigned char>(version[7]));
    if (!isToken(method) || !targetOk || !versionOk) {
        fail(400, "malformed request line");
        return;
    }
    if (version[5] != '1') {
        fail(505, "only HTTP/1.0 and HTTP/1.1 are served");
        return;
    }
    request_.requestLine = std::string(line);
    request_.method = std::string(method);
    request_.target = std::string(target);
    request_.version = std::string(version);
}

void HttpRequestParser::acceptHeaderLine(std::string_view line) {
    if (line.front() == ' ' || line.front() == '\t') {
        fail(400, "folded header line");
        return;
    }
    std::size_t colon = line.find(':');
    if (colon == std::string_view::npos || !isToken(line.substr(0, colon))) {
        fail(400, "malformed header line");
        return;
    }
    for (char c : line.substr(colon + 1)) {
        unsigned char u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t') || u == 0x7F) {
            fail(400, "control character in a header value");
            return;
        }
    }
    request_.headerLines.emplace_back(line);
}

void HttpRequestParser::finishHead() {
    std::vector<std::string> lengths = headerValues(request_.headerLines, "Content-Length");
    // The installer never frames a body any other way.
    if (!headerValues(request_.headerLines, "Transfer-Encoding").empty()) {
        fail(501, "only bodies framed by Content-Length are read");
        return;
    }
    if (lengths.empty()) {
        stage_ = Stage::Done;
        return;
    }
    for (const std::string& length : lengths) {
        if (!isAllDigits(length) || length.size() > 18 || length != lengths.front()) {
            fail(400, "invalid Content-Length");
            return;
        }
    }
    remaining_ = std::stoull(lengths.front());
    if (remaining_ > limits_.maxBodyBytes) {
        fail(413, "body of " + lengths.front() + " bytes exceeds the limit of " +
                      std::to_string(limits_.maxBodyBytes));
        return;
    }
    request_.body.reserve(static_cast<std::size_t>(remaining_));
    stage_ = remaining_ == 0 ? Stage::Done : Stage::FixedBody;
}

bool HttpRequestParser::stepFixedBody() {
    std::size_t available = raw_.size() - position_;
    std::size_t take = static_cast<std::size_t>(std::min<std::uint64_t>(remaining_, available));
    request_.body.append(raw_, position_, take);
    position_ += take;
    remaining_ -= take;
    if (remaining_ == 0) {
        stage_ = Stage::Done;
        return true;
    }
    return false;
}

void HttpRequestParser::fail(int status, std::string reason) {
    stage_ = Stage::Failed;
    failureStatus_ = status;
    failureReason_ = std::move(reason);
}

} // namespace standin
