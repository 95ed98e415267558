#include "tools/standin/Utf8.h"

#include "platform/Utf8Codec.h"

namespace standin {

bool isValidUtf8(std::string_view bytes) {
    return utf8::IsWellFormedUtf8(bytes.data(), bytes.size());
}

std::string textFromBytes(std::string_view bytes) {
    if (isValidUtf8(bytes)) {
        return std::string(bytes);
    }
    std::string text;
    for (char c : bytes) {
        unsigned char u = static_cast<unsigned char>(c);
        if (u < 0x80) {
            text += c;
        } else {
            text += static_cast<char>(0xC0 | (u >> 6));
            text += static_cast<char>(0x80 | (u & 0x3F));
        }
    }
    return text;
}

} // namespace standin
