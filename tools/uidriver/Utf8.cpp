#include "tools/uidriver/Utf8.h"

#include "platform/Utf8Codec.h"

std::string ToUtf8(const std::wstring& text) {
    return utf8::EncodeUtf8(text.data(), text.size());
}

std::optional<std::wstring> FromUtf8(const std::string& text) {
    if (!utf8::IsWellFormedUtf8(text.data(), text.size()))
        return std::nullopt;
    return utf8::DecodeUtf8(text.data(), text.size());
}
