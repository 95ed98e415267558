#include "TempFolder_win.h"

#include "platform/UniqueHandle_win.h"

#include <cryptopp/sha.h>

#include <cstdio>

std::wstring MakeTempFolder() {
    static int counter = 0;
    WCHAR temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"kestrix-it-" +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

std::string FileSha256(const std::wstring& path) {
    platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                  nullptr, OPEN_EXISTING, 0, nullptr));
    if (!file)
        return {};
    CryptoPP::SHA256 hash;
    unsigned char buffer[65536];
    DWORD read = 0;
    while (::ReadFile(file.Get(), buffer, sizeof(buffer), &read, nullptr) && read > 0)
        hash.Update(buffer, read);
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

uint64_t FileSize(const std::wstring& path) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return 0;
    return (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}
