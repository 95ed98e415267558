#include "net/HttpValues.h"

#include <cwctype>
#include <limits>

namespace {

uint64_t ParseDecimal(const std::wstring& text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == L' ' || text[i] == L'\t'))
        ++i;
    uint64_t value = 0;
    const uint64_t max = std::numeric_limits<uint64_t>::max();
    for (; i < text.size() && text[i] >= L'0' && text[i] <= L'9'; ++i) {
        const uint64_t digit = static_cast<uint64_t>(text[i] - L'0');
        if (value > (max - digit) / 10)
            return max;
        value = value * 10 + digit;
    }
    return value;
}

bool StartsWithNoCase(const std::wstring& text, const wchar_t* prefix) {
    for (size_t i = 0; prefix[i]; ++i) {
        // wchar_t is signed natively and unsigned on Windows; compare as wint_t.
        if (i >= text.size() ||
            std::towlower(static_cast<wint_t>(text[i])) != static_cast<wint_t>(prefix[i]))
            return false;
    }
    return true;
}

} // namespace

uint64_t ParseContentLength(const std::wstring& text) {
    return ParseDecimal(text);
}

uint32_t ParseStatusCode(const std::wstring& text) {
    const uint64_t value = ParseDecimal(text);
    return value > std::numeric_limits<uint32_t>::max() ? 0 : static_cast<uint32_t>(value);
}

bool IsHttpOrHttpsUrl(const std::wstring& url) {
    return StartsWithNoCase(url, L"http://") || StartsWithNoCase(url, L"https://");
}
