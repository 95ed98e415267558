#include "tools/standin/CertificateChoice.h"

namespace standin {

namespace {

constexpr ServerCertificate kAllCertificates[] = {
    ServerCertificate::Trusted, ServerCertificate::Untrusted, ServerCertificate::WrongHost};

} // namespace

std::string_view certificateName(ServerCertificate certificate) {
    switch (certificate) {
    case ServerCertificate::Trusted:
        return "trusted";
    case ServerCertificate::Untrusted:
        return "untrusted";
    case ServerCertificate::WrongHost:
        return "wrong-host";
    }
    return "unknown";
}

std::optional<ServerCertificate> certificateFromName(std::string_view name) {
    for (ServerCertificate certificate : kAllCertificates) {
        if (certificateName(certificate) == name) {
            return certificate;
        }
    }
    return std::nullopt;
}

void CertificateChoice::set(Service service, ServerCertificate certificate) {
    std::lock_guard<std::mutex> lock(mutex_);
    chosen_[service] = certificate;
}

ServerCertificate CertificateChoice::get(Service service) const {
    std::lock_guard<std::mutex> lock(mutex_);
    auto it = chosen_.find(service);
    return it == chosen_.end() ? ServerCertificate::Trusted : it->second;
}

void CertificateChoice::reset() {
    std::lock_guard<std::mutex> lock(mutex_);
    chosen_.clear();
}

} // namespace standin
