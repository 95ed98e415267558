#pragma once
#include <string>

#include "tools/standin/OpensslHandles.h"
#include "tools/standin/Stream.h"

namespace standin {

// TLS over an accepted socket, server side.
class TlsStream : public Stream {
public:
    TlsStream(SSL_CTX* context, int socket);
    // Runs the handshake; on failure `error` says why.
    bool accept(std::string& error);

    long read(char* out, std::size_t capacity) override;
    bool write(std::string_view bytes) override;
    void closeCleanly() override;

private:
    SslPtr ssl_;
};

} // namespace standin
