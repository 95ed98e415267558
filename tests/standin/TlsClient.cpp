#include "tests/standin/TlsClient.h"

#include <openssl/err.h>
#include <openssl/x509_vfy.h>

#include "tests/standin/RawHttp.h"
#include "tools/standin/OpensslHandles.h"

namespace standintest {

namespace {

std::string opensslError() {
    char text[256] = "no OpenSSL error";
    if (unsigned long code = ERR_get_error()) {
        ERR_error_string_n(code, text, sizeof text);
    }
    ERR_clear_error();
    return text;
}

} // namespace

TlsResult tlsExchange(int port, const std::string& caPemPath, const std::string& hostName,
                      std::string_view request) {
    TlsResult result;
    standin::SslContextPtr context(SSL_CTX_new(TLS_client_method()));
    if (!context || SSL_CTX_load_verify_locations(context.get(), caPemPath.c_str(), nullptr) != 1) {
        result.error = "cannot load " + caPemPath + ": " + opensslError();
        return result;
    }
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, nullptr);
    // The socket stays with `tcp`; TLS only borrows it.
    RawConnection tcp(port);
    standin::SslPtr ssl(SSL_new(context.get()));
    SSL_set_fd(ssl.get(), tcp.nativeHandle());
    SSL_set_tlsext_host_name(ssl.get(), hostName.c_str());
    SSL_set1_host(ssl.get(), hostName.c_str());
    if (SSL_connect(ssl.get()) != 1) {
        long verify = SSL_get_verify_result(ssl.get());
        result.error = verify != X509_V_OK ? X509_verify_cert_error_string(verify) : opensslError();
        return result;
    }
    result.connected = true;
    for (std::string_view rest = request; !rest.empty();) {
        int count = SSL_write(ssl.get(), rest.data(), static_cast<int>(rest.size()));
        if (count <= 0) {
            result.error = "write failed: " + opensslError();
            return result;
        }
        rest.remove_prefix(static_cast<std::size_t>(count));
    }
    char buffer[16384];
    int count;
    while ((count = SSL_read(ssl.get(), buffer, sizeof buffer)) > 0) {
        result.response.append(buffer, static_cast<std::size_t>(count));
    }
    return result;
}

} // namespace standintest
