#pragma once
#include <string>

#include "tools/standin/OpensslHandles.h"

namespace standin {

// The server side TLS settings shared by both HTTPS services. Throws
// std::runtime_error when the certificate or key cannot be used.
SslContextPtr makeTlsServerContext(const std::string& certificatePem, const std::string& keyPem);

} // namespace standin
