#include "tools/standin/TlsServerContext.h"

#include <openssl/err.h>
#include <stdexcept>

namespace standin {

SslContextPtr makeTlsServerContext(const std::string& certificatePem, const std::string& keyPem) {
    SslContextPtr context(SSL_CTX_new(TLS_server_method()));
    if (!context) {
        throw std::runtime_error("cannot create a TLS context");
    }
    SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION);
    if (SSL_CTX_use_certificate_chain_file(context.get(), certificatePem.c_str()) != 1 ||
        SSL_CTX_use_PrivateKey_file(context.get(), keyPem.c_str(), SSL_FILETYPE_PEM) != 1 ||
        SSL_CTX_check_private_key(context.get()) != 1) {
        char reason[256] = "unknown error";
        ERR_error_string_n(ERR_get_error(), reason, sizeof reason);
        throw std::runtime_error("cannot load " + certificatePem + " and " + keyPem + ": " +
                                 reason);
    }
    return context;
}

SSL_CTX* TlsServerContexts::presenting(ServerCertificate certificate) const {
    switch (certificate) {
    case ServerCertificate::Untrusted:
        return untrusted.get();
    case ServerCertificate::WrongHost:
        return wrongHost.get();
    case ServerCertificate::Trusted:
        break;
    }
    return trusted.get();
}

TlsServerContexts makeTlsServerContexts(const CertificatePaths& paths) {
    return TlsServerContexts{
        makeTlsServerContext(paths.serverPem, paths.serverKey),
        makeTlsServerContext(paths.untrustedServerPem, paths.untrustedServerKey),
        makeTlsServerContext(paths.wrongHostPem, paths.wrongHostKey)};
}

} // namespace standin
