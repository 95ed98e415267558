#include "platform/Utf8Codec.h"

#include <cstdint>

namespace utf8 {

namespace {

constexpr char32_t kReplacement = 0xFFFD;

bool IsSurrogate(char32_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

void AppendUtf8(std::string& out, char32_t c) {
    if (c < 0x80) {
        out += static_cast<char>(c);
    } else if (c < 0x800) {
        out += static_cast<char>(0xC0 | (c >> 6));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        out += static_cast<char>(0xE0 | (c >> 12));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (c >> 18));
        out += static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (c & 0x3F));
    }
}

void AppendWide(std::wstring& out, char32_t c) {
    if constexpr (sizeof(wchar_t) == 2) {
        if (c >= 0x10000) {
            c -= 0x10000;
            out += static_cast<wchar_t>(0xD800 + (c >> 10));
            out += static_cast<wchar_t>(0xDC00 + (c & 0x3FF));
            return;
        }
    }
    out += static_cast<wchar_t>(c);
}

// Reads the code point at text[i] and advances i past it.
char32_t NextCodePoint(const wchar_t* text, size_t length, size_t& i) {
    const char32_t unit = static_cast<char32_t>(text[i++]);
    if constexpr (sizeof(wchar_t) == 2) {
        if (unit >= 0xD800 && unit <= 0xDBFF && i < length) {
            const char32_t low = static_cast<char16_t>(text[i]);
            if (low >= 0xDC00 && low <= 0xDFFF) {
                ++i;
                return 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
            }
        }
        return IsSurrogate(unit) ? kReplacement : unit;
    } else {
        return IsSurrogate(unit) || unit > 0x10FFFF ? kReplacement : unit;
    }
}

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// Range allowed for the second byte of a sequence starting with lead; the
// narrow ranges after E0, ED, F0 and F4 rule out overlong forms, surrogates
// and code points above U+10FFFF.
void SecondByteRange(unsigned char lead, unsigned char& low, unsigned char& high) {
    low = 0x80;
    high = 0xBF;
    if (lead == 0xE0)
        low = 0xA0;
    else if (lead == 0xED)
        high = 0x9F;
    else if (lead == 0xF0)
        low = 0x90;
    else if (lead == 0xF4)
        high = 0x8F;
}

// Reads the sequence at bytes[i] into c and advances i past it; false, with
// i past its maximal subpart (at least one byte), when it is ill-formed.
bool NextFromUtf8(const unsigned char* bytes, size_t length, size_t& i, char32_t& c) {
    const unsigned char lead = bytes[i++];
    size_t trail;
    if (lead < 0x80) {
        c = lead;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        trail = 1;
        c = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        trail = 2;
        c = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        trail = 3;
        c = lead & 0x07;
    } else {
        return false;
    }
    unsigned char low;
    unsigned char high;
    SecondByteRange(lead, low, high);
    for (size_t k = 0; k < trail; ++k) {
        const bool fits =
            i < length && (k == 0 ? bytes[i] >= low && bytes[i] <= high : IsContinuation(bytes[i]));
        if (!fits)
            return false;
        c = (c << 6) | (bytes[i++] & 0x3F);
    }
    return true;
}

} // namespace

std::string EncodeUtf8(const wchar_t* text, size_t length) {
    std::string out;
    out.reserve(length);
    for (size_t i = 0; i < length;)
        AppendUtf8(out, NextCodePoint(text, length, i));
    return out;
}

std::wstring DecodeUtf8(const char* text, size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    std::wstring out;
    out.reserve(length);
    for (size_t i = 0; i < length;) {
        char32_t c;
        AppendWide(out, NextFromUtf8(bytes, length, i, c) ? c : kReplacement);
    }
    return out;
}

bool IsWellFormedUtf8(const char* text, size_t length) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    for (size_t i = 0; i < length;) {
        char32_t c;
        if (!NextFromUtf8(bytes, length, i, c))
            return false;
    }
    return true;
}

} // namespace utf8
