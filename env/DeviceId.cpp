#include "env/DeviceId.h"

#include "platform/Utf8Codec.h"

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>

#include <string>

std::wstring DeviceIdFor(const std::wstring& addressText) {
    const std::string bytes = utf8::EncodeUtf8(addressText.data(), addressText.size());
    CryptoPP::byte digest[CryptoPP::Weak1::MD5::DIGESTSIZE];
    CryptoPP::Weak1::MD5 md5;
    md5.Update(reinterpret_cast<const CryptoPP::byte*>(bytes.data()), bytes.size());
    md5.Final(digest);

    static const wchar_t kHexDigits[] = L"0123456789abcdef";
    std::wstring id;
    for (CryptoPP::byte b : digest) {
        id += kHexDigits[b >> 4];
        id += kHexDigits[b & 0x0F];
    }
    return id + L"#7";
}
