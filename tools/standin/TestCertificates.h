#pragma once
#include <ctime>
#include <string>
#include <vector>

namespace standin {

struct CertificatePaths {
    std::string caPem; // the test CA, for clients to trust
    std::string caDer; // the same, DER, for the Wine prefix's Root store
    std::string caKey;
    std::string serverPem; // localhost certificate signed by the CA
    std::string serverKey;
    // For the tests of refused certificates: a CA no client is given, a
    // localhost certificate it signed, and one the test CA signed for
    // another host only.
    std::string untrustedCaPem;
    std::string untrustedCaKey;
    std::string untrustedServerPem;
    std::string untrustedServerKey;
    std::string wrongHostPem;
    std::string wrongHostKey;
};

CertificatePaths certificatePaths(const std::string& stateDir);

struct CertificateReport {
    CertificatePaths paths;
    bool caGenerated = false;
    bool serverGenerated = false;
    bool untrustedGenerated = false; // the untrusted CA or its server certificate
    bool wrongHostGenerated = false;
};

// Makes sure `stateDir` holds a test CA and a server certificate for
// localhost and every one of `serverNames`, and the certificates for refusal
// tests. Valid files are kept,
// so a CA trusted once in a Wine prefix stays trusted; what is missing,
// broken or within 30 days of expiry at `now` is made anew (a new CA always
// brings new certificates signed by it).
// Throws std::runtime_error when the directory cannot be written.
CertificateReport ensureTestCertificates(const std::string& stateDir,
                                         std::time_t now = std::time(nullptr),
                                         const std::vector<std::string>& serverNames = {});

} // namespace standin
