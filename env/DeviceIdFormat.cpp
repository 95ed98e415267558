#include "env/DeviceIdFormat.h"

#define CRYPTOPP_ENABLE_NAMESPACE_WEAK 1
#include <cryptopp/md5.h>

#include <string>

namespace {

// Address texts are ASCII, but any text is encoded properly: surrogate pairs
// where wchar_t is 16 bits, code points where it is 32; anything ill-formed
// becomes U+FFFD, as the Windows converter does.
std::string ToUtf8(const std::wstring& text) {
    std::string bytes;
    for (size_t i = 0; i < text.size(); ++i) {
        uint32_t code = static_cast<uint32_t>(text[i]);
        if (sizeof(wchar_t) == 2 && code >= 0xD800 && code <= 0xDBFF && i + 1 < text.size()) {
            const uint32_t low = static_cast<uint32_t>(text[i + 1]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                ++i;
            }
        }
        if ((code >= 0xD800 && code <= 0xDFFF) || code > 0x10FFFF)
            code = 0xFFFD;
        if (code < 0x80) {
            bytes += static_cast<char>(code);
        } else if (code < 0x800) {
            bytes += static_cast<char>(0xC0 | (code >> 6));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            bytes += static_cast<char>(0xE0 | (code >> 12));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            bytes += static_cast<char>(0xF0 | (code >> 18));
            bytes += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            bytes += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            bytes += static_cast<char>(0x80 | (code & 0x3F));
        }
    }
    return bytes;
}

} // namespace

std::wstring DeviceIdFor(const std::wstring& addressText) {
    const std::string bytes = ToUtf8(addressText);
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
