#pragma once
#include <cstdint>
#include <string>

// "%i.%i.%i.%i" of the four 16-bit words of a product version (most
// significant first), each read without sign: 0x00080001/0x000D6A4C gives
// "8.1.13.27212".
std::wstring FormatProductVersion(uint32_t productVersionMS, uint32_t productVersionLS);

// The installer's User-Agent from its three tokens. Empty tokens still keep
// their separators: "Kestrix/5.0 (pc, , ) KestrixDownloader/.PROD".
std::wstring FormatUserAgent(const std::wstring& os, const std::wstring& locale,
                             const std::wstring& version);
