#include "usage/Utf8.h"

#include <windows.h>

#include <climits>
#include <cwchar>

std::string ToUtf8(const wchar_t* text) {
    if (!text)
        return std::string();
    const size_t length = std::wcslen(text);
    if (length == 0 || length > INT_MAX)
        return std::string();
    const int units = static_cast<int>(length);
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, units, nullptr, 0, nullptr, nullptr);
    if (size <= 0)
        return std::string();
    std::string out(static_cast<size_t>(size), '\0');
    const int written =
        WideCharToMultiByte(CP_UTF8, 0, text, units, &out[0], size, nullptr, nullptr);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}

std::wstring Utf8ToWide(const std::string& text) {
    if (text.empty() || text.size() > INT_MAX)
        return std::wstring();
    const int bytes = static_cast<int>(text.size());
    const int size = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, nullptr, 0);
    if (size <= 0)
        return std::wstring();
    std::wstring out(static_cast<size_t>(size), L'\0');
    const int written = MultiByteToWideChar(CP_UTF8, 0, text.data(), bytes, &out[0], size);
    out.resize(written > 0 ? static_cast<size_t>(written) : 0);
    return out;
}
