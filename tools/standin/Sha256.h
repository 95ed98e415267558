#pragma once
#include <cstddef>
#include <string>

#include "tools/standin/OpensslHandles.h"

namespace standin {

// Streaming SHA-256, so that large packages are hashed without holding them.
class Sha256 {
public:
    Sha256();
    void update(const char* data, std::size_t size);
    // Lowercase hex; the object is spent afterwards.
    std::string hexDigest();

private:
    DigestContextPtr context_;
};

} // namespace standin
