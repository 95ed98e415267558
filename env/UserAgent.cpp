#include "env/UserAgent.h"

std::wstring FormatProductVersion(uint32_t productVersionMS, uint32_t productVersionLS) {
    const uint32_t words[] = {productVersionMS >> 16, productVersionMS & 0xFFFF,
                              productVersionLS >> 16, productVersionLS & 0xFFFF};
    std::wstring text;
    for (uint32_t word : words) {
        if (!text.empty())
            text += L'.';
        text += std::to_wstring(word);
    }
    return text;
}

std::wstring FormatUserAgent(const std::wstring& os, const std::wstring& locale,
                             const std::wstring& version) {
    return L"Kestrix/5.0 (pc, " + os + L", " + locale + L") KestrixDownloader/" + version +
           L".PROD";
}
