#pragma once
#include <string>

#include "tools/standin/CertificateChoice.h"
#include "tools/standin/OpensslHandles.h"
#include "tools/standin/TestCertificates.h"

namespace standin {

// The server side TLS settings shared by both HTTPS services. Throws
// std::runtime_error when the certificate or key cannot be used.
SslContextPtr makeTlsServerContext(const std::string& certificatePem, const std::string& keyPem);

// One context for each certificate a TLS service can present.
struct TlsServerContexts {
    SslContextPtr trusted;
    SslContextPtr untrusted;
    SslContextPtr wrongHost;

    SSL_CTX* presenting(ServerCertificate certificate) const;
};

TlsServerContexts makeTlsServerContexts(const CertificatePaths& paths);

} // namespace standin
