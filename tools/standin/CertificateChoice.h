#pragma once
#include <map>
#include <mutex>
#include <optional>
#include <string_view>

#include "tools/standin/Service.h"

namespace standin {

// The certificates a TLS service can present: the localhost one from the
// test CA, a localhost one from a CA no client trusts, and one from the test
// CA for another host only.
enum class ServerCertificate { Trusted, Untrusted, WrongHost };

// "trusted", "untrusted", "wrong-host": the names used on the control API.
std::string_view certificateName(ServerCertificate certificate);
std::optional<ServerCertificate> certificateFromName(std::string_view name);

// Which certificate each TLS service presents to the connections it accepts.
class CertificateChoice {
public:
    void set(Service service, ServerCertificate certificate);
    ServerCertificate get(Service service) const;
    // Every service back to the trusted certificate.
    void reset();

private:
    mutable std::mutex mutex_;
    std::map<Service, ServerCertificate> chosen_;
};

} // namespace standin
