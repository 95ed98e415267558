#include "tools/harness/FileDigest.h"

#include <cryptopp/hex.h>
#include <cryptopp/sha.h>

#include <fstream>

namespace testsupport {

std::string Sha256OfFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return {};
    CryptoPP::SHA256 hash;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof(buffer)) || in.gcount() > 0)
        hash.Update(reinterpret_cast<const CryptoPP::byte*>(buffer),
                    static_cast<size_t>(in.gcount()));
    CryptoPP::byte digest[CryptoPP::SHA256::DIGESTSIZE];
    hash.Final(digest);
    std::string hex;
    CryptoPP::HexEncoder encoder(new CryptoPP::StringSink(hex), /*uppercase=*/false);
    encoder.Put(digest, sizeof(digest));
    encoder.MessageEnd();
    return hex;
}

} // namespace testsupport
