#pragma once
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "tools/standin/FileDescriptor.h"

namespace standintest {

// A plain TCP connection to a loopback port, for requests written byte by byte.
class RawConnection {
public:
    explicit RawConnection(int port, const char* address = "127.0.0.1");
    void send(std::string_view bytes);
    // Reads until `count` bytes arrived in all, or the end; returns all so far.
    const std::string& readAtLeast(std::size_t count);
    // Reads until the server closes; returns all so far.
    const std::string& readToEnd();
    // True when the server closed (cleanly or not) after what was read.
    bool closedByServer() const { return closed_; }
    // What ended the reading: ECONNRESET for a reset, 0 for a clean close.
    int closeError() const { return closeError_; }
    int nativeHandle() const { return socket_.get(); }

private:
    standin::FileDescriptor socket_;
    std::string received_;
    bool closed_ = false;
    int closeError_ = 0;
};

// One request, the whole answer.
std::string roundTrip(int port, std::string_view request, const char* address = "127.0.0.1");

struct RawResponse {
    int status = 0;
    std::string statusLine;
    std::vector<std::string> headers;
    std::string body;
    // Value of the first header with this name (any case); empty if absent.
    std::string header(std::string_view name) const;
    bool hasHeader(std::string_view name) const;
};

// Splits an answer at the first blank line; the body is whatever follows.
RawResponse parseResponse(const std::string& bytes);

} // namespace standintest
