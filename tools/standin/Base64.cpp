#include "tools/standin/Base64.h"

#include <cstdint>

namespace standin {

namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int sextet(char c) {
    if (c >= 'A' && c <= 'Z') {
        return c - 'A';
    }
    if (c >= 'a' && c <= 'z') {
        return c - 'a' + 26;
    }
    if (c >= '0' && c <= '9') {
        return c - '0' + 52;
    }
    if (c == '+') {
        return 62;
    }
    if (c == '/') {
        return 63;
    }
    return -1;
}

} // namespace

std::string base64Encode(std::string_view bytes) {
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        std::uint32_t group = (std::uint8_t(bytes[i]) << 16) | (std::uint8_t(bytes[i + 1]) << 8) |
                              std::uint8_t(bytes[i + 2]);
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += kAlphabet[(group >> 6) & 63];
        out += kAlphabet[group & 63];
    }
    std::size_t rest = bytes.size() - i;
    if (rest > 0) {
        std::uint32_t group = std::uint8_t(bytes[i]) << 16;
        if (rest == 2) {
            group |= std::uint8_t(bytes[i + 1]) << 8;
        }
        out += kAlphabet[(group >> 18) & 63];
        out += kAlphabet[(group >> 12) & 63];
        out += rest == 2 ? kAlphabet[(group >> 6) & 63] : '=';
        out += '=';
    }
    return out;
}

std::optional<std::string> base64Decode(std::string_view text) {
    if (text.size() % 4 != 0) {
        return std::nullopt;
    }
    std::string out;
    out.reserve(text.size() / 4 * 3);
    for (std::size_t i = 0; i < text.size(); i += 4) {
        bool last = i + 4 == text.size();
        int padding = 0;
        if (last && text[i + 3] == '=') {
            padding = text[i + 2] == '=' ? 2 : 1;
        }
        std::uint32_t group = 0;
        for (int k = 0; k < 4; ++k) {
            int value = k >= 4 - padding ? 0 : sextet(text[i + k]);
            if (value < 0) {
                return std::nullopt;
            }
            group = (group << 6) | std::uint32_t(value);
        }
        out += char((group >> 16) & 0xFF);
        if (padding < 2) {
            out += char((group >> 8) & 0xFF);
        }
        if (padding < 1) {
            out += char(group & 0xFF);
        }
    }
    return out;
}

} // namespace standin
