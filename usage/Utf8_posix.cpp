#include "usage/Utf8.h"

#include "platform/Utf8Codec.h"

#include <cwchar>

std::string ToUtf8(const wchar_t* text) {
    if (!text)
        return std::string();
    return utf8::EncodeUtf8(text, std::wcslen(text));
}

std::wstring Utf8ToWide(const std::string& text) {
    return utf8::DecodeUtf8(text.data(), text.size());
}
