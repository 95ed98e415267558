#include "tools/standin/TlsStream.h"

#include <algorithm>
#include <climits>
#include <openssl/err.h>
#include <stdexcept>

namespace standin {

namespace {

std::string lastError() {
    std::string text;
    while (unsigned long code = ERR_get_error()) {
        char buffer[256];
        ERR_error_string_n(code, buffer, sizeof buffer);
        text += (text.empty() ? "" : "; ") + std::string(buffer);
    }
    return text.empty() ? "connection closed or timed out" : text;
}

} // namespace

TlsStream::TlsStream(SSL_CTX* context, int socket) : ssl_(SSL_new(context)) {
    if (!ssl_ || SSL_set_fd(ssl_.get(), socket) != 1) {
        throw std::runtime_error("cannot set up TLS on a connection: " + lastError());
    }
}

bool TlsStream::accept(std::string& error) {
    ERR_clear_error();
    if (SSL_accept(ssl_.get()) == 1) {
        return true;
    }
    error = lastError();
    return false;
}

long TlsStream::read(char* out, std::size_t capacity) {
    ERR_clear_error();
    int count =
        SSL_read(ssl_.get(), out, static_cast<int>(std::min<std::size_t>(capacity, INT_MAX)));
    if (count > 0) {
        return count;
    }
    return SSL_get_error(ssl_.get(), count) == SSL_ERROR_ZERO_RETURN ? 0 : -1;
}

bool TlsStream::write(std::string_view bytes) {
    while (!bytes.empty()) {
        ERR_clear_error();
        int count = SSL_write(ssl_.get(), bytes.data(),
                              static_cast<int>(std::min<std::size_t>(bytes.size(), INT_MAX)));
        if (count <= 0) {
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

void TlsStream::closeCleanly() {
    ERR_clear_error();
    SSL_shutdown(ssl_.get());
}

} // namespace standin
