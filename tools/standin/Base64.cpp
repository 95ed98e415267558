#include "tools/standin/Base64.h"

#include <cryptopp/base64.h>
#include <cryptopp/filters.h>

namespace standin {

namespace {

bool inAlphabet(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '+' ||
           c == '/';
}

// Crypto++'s decoder skips what it does not know; the wire takes only
// whole groups of four, padded at the end.
bool wellFormed(std::string_view text) {
    if (text.size() % 4 != 0)
        return false;
    const std::size_t padding = text.size() - text.find_last_not_of('=') - 1;
    if (text.empty() || padding == text.size())
        return text.empty();
    if (padding > 2)
        return false;
    for (std::size_t i = 0; i < text.size() - padding; ++i) {
        if (!inAlphabet(text[i]))
            return false;
    }
    return true;
}

} // namespace

std::string base64Encode(std::string_view bytes) {
    std::string text;
    CryptoPP::StringSource source(reinterpret_cast<const CryptoPP::byte*>(bytes.data()),
                                  bytes.size(), true,
                                  new CryptoPP::Base64Encoder(new CryptoPP::StringSink(text),
                                                              /*insertLineBreaks=*/false));
    return text;
}

std::optional<std::string> base64Decode(std::string_view text) {
    if (!wellFormed(text))
        return std::nullopt;
    std::string bytes;
    CryptoPP::StringSource source(reinterpret_cast<const CryptoPP::byte*>(text.data()), text.size(),
                                  true,
                                  new CryptoPP::Base64Decoder(new CryptoPP::StringSink(bytes)));
    return bytes;
}

} // namespace standin
