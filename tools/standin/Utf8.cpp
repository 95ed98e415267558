#include "tools/standin/Utf8.h"

#include <cstdint>

namespace standin {

bool isValidUtf8(std::string_view bytes) {
    std::size_t i = 0;
    while (i < bytes.size()) {
        std::uint8_t lead = std::uint8_t(bytes[i]);
        if (lead < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        std::uint32_t point = 0;
        std::uint32_t minimum = 0;
        if ((lead & 0xE0) == 0xC0) {
            extra = 1;
            point = lead & 0x1F;
            minimum = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            extra = 2;
            point = lead & 0x0F;
            minimum = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            extra = 3;
            point = lead & 0x07;
            minimum = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= bytes.size()) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            std::uint8_t next = std::uint8_t(bytes[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            point = (point << 6) | (next & 0x3F);
        }
        if (point < minimum || point > 0x10FFFF || (point >= 0xD800 && point <= 0xDFFF)) {
            return false;
        }
        i += extra + 1;
    }
    return true;
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
