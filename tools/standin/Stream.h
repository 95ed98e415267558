#pragma once
#include <cstddef>
#include <string_view>

namespace standin {

// The byte stream of one accepted connection, plain or TLS. The socket
// itself belongs to the connection; a stream only borrows it.
class Stream {
public:
    virtual ~Stream() = default;
    // Bytes read, 0 at the end, -1 on an error or the socket's timeout.
    virtual long read(char* out, std::size_t capacity) = 0;
    // All of `bytes` or false.
    virtual bool write(std::string_view bytes) = 0;
    // Ends the stream's own framing (TLS close_notify); the socket stays open.
    virtual void closeCleanly() = 0;
};

} // namespace standin
