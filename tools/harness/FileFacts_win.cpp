#include "tools/harness/FileFacts_win.h"

#include "platform/UniqueHandle_win.h"

#include <cryptopp/sha.h>

#include <cstdio>
#include <vector>

namespace testsupport {

bool FileSizeOf(const std::wstring& path, uint64_t* size) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

std::string FileSha256(const std::wstring& path) {
    platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN,
                                                  nullptr));
    if (!file)
        return {};
    CryptoPP::SHA256 hash;
    std::vector<unsigned char> buffer(64 * 1024);
    DWORD read = 0;
    while (
        ::ReadFile(file.Get(), buffer.data(), static_cast<DWORD>(buffer.size()), &read, nullptr) &&
        read > 0)
        hash.Update(buffer.data(), read);
    unsigned char digest[CryptoPP::SHA256::DIGESTSIZE];
    hash.Final(digest);
    std::string hex;
    for (unsigned char byte : digest) {
        char pair[3];
        std::snprintf(pair, sizeof(pair), "%02x", byte);
        hex += pair;
    }
    return hex;
}

} // namespace testsupport
