#pragma once
#include <string>

// The fuzzers' own reading of UTF-8, kept apart from the product's codec so
// that it can judge what that codec and the JSON writer produce. False when
// the text is not well-formed: a stray or missing continuation byte, an
// overlong form, a surrogate or a value above U+10FFFF.
inline bool ReadUtf8CodePoints(const std::string& text, std::u32string& codePoints) {
    codePoints.clear();
    size_t i = 0;
    while (i < text.size()) {
        const auto lead = static_cast<unsigned char>(text[i]);
        size_t length;
        char32_t c;
        char32_t smallest;
        if (lead < 0x80) {
            length = 1;
            c = lead;
            smallest = 0;
        } else if ((lead & 0xE0) == 0xC0) {
            length = 2;
            c = lead & 0x1F;
            smallest = 0x80;
        } else if ((lead & 0xF0) == 0xE0) {
            length = 3;
            c = lead & 0x0F;
            smallest = 0x800;
        } else if ((lead & 0xF8) == 0xF0) {
            length = 4;
            c = lead & 0x07;
            smallest = 0x10000;
        } else {
            return false;
        }
        if (text.size() - i < length)
            return false;
        for (size_t k = 1; k < length; ++k) {
            const auto trail = static_cast<unsigned char>(text[i + k]);
            if ((trail & 0xC0) != 0x80)
                return false;
            c = (c << 6) | (trail & 0x3F);
        }
        if (c < smallest || c > 0x10FFFF || (c >= 0xD800 && c <= 0xDFFF))
            return false;
        codePoints += c;
        i += length;
    }
    return true;
}

inline bool IsWellFormedUtf8(const std::string& text) {
    std::u32string codePoints;
    return ReadUtf8CodePoints(text, codePoints);
}
