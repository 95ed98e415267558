#include "tools/harness/FileDigest.h"

#include "tools/standin/Sha256.h"

#include <fstream>

namespace testsupport {

std::string Sha256OfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    standin::Sha256 hash;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof(buffer)) || in.gcount() > 0)
        hash.update(buffer, static_cast<std::size_t>(in.gcount()));
    return hash.hexDigest();
}

} // namespace testsupport
