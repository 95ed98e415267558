#include "tools/standin/Sha256.h"

#include <stdexcept>

namespace standin {

Sha256::Sha256() : context_(EVP_MD_CTX_new()) {
    if (!context_ || EVP_DigestInit_ex(context_.get(), EVP_sha256(), nullptr) != 1) {
        throw std::runtime_error("cannot start a SHA-256 digest");
    }
}

void Sha256::update(const char* data, std::size_t size) {
    if (EVP_DigestUpdate(context_.get(), data, size) != 1) {
        throw std::runtime_error("SHA-256 update failed");
    }
}

std::string Sha256::hexDigest() {
    unsigned char digest[EVP_MAX_MD_SIZE];
    unsigned int length = 0;
    if (EVP_DigestFinal_ex(context_.get(), digest, &length) != 1) {
        throw std::runtime_error("SHA-256 final failed");
    }
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    for (unsigned int i = 0; i < length; ++i) {
        out += kHex[digest[i] >> 4];
        out += kHex[digest[i] & 15];
    }
    return out;
}

} // namespace standin
