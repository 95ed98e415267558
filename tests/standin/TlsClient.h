#pragma once
#include <string>
#include <string_view>

namespace standintest {

struct TlsResult {
    bool connected = false; // handshake done and the certificate verified
    std::string error;      // why not
    std::string response;   // the whole answer when connected
};

// Connects to 127.0.0.1:`port` as a client that trusts only `caPemPath`
// and expects the certificate to be for `hostName` (sent as SNI too); then
// sends `request` and reads until the server closes.
TlsResult tlsExchange(int port, const std::string& caPemPath, const std::string& hostName,
                      std::string_view request);

} // namespace standintest
