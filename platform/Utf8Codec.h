#pragma once
#include <cstddef>
#include <string>

// Portable UTF-8 conversions. As with the Windows converters (CP_UTF8, no
// flags, Vista on), ill-formed parts become U+FFFD instead of being dropped.
// wchar_t holds UTF-16 where it is 16 bits wide (surrogate pairs) and
// code points where it is 32 bits wide.
namespace utf8 {

std::string EncodeUtf8(const wchar_t* text, size_t length);

// An ill-formed sequence yields one U+FFFD per maximal subpart: the longest
// start of a well-formed sequence, or else a single byte.
std::wstring DecodeUtf8(const char* text, size_t length);

// True when the bytes are UTF-8 throughout: no overlong form, no surrogate,
// nothing past U+10FFFF, no sequence cut short.
bool IsWellFormedUtf8(const char* text, size_t length);

} // namespace utf8
