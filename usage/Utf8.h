#pragma once
#include <string>

// Conversions between the system's wide texts and UTF-8. On Windows they are
// the system's CP_UTF8 converters; elsewhere the portable codec of platform/Utf8Codec.h,
// which gives the same result except in how many U+FFFD an ill-formed UTF-8
// sequence becomes, where systems differ among themselves.

// A null text gives an empty string; unpaired surrogates become U+FFFD.
std::string ToUtf8(const wchar_t* text);

// Every byte of the text is converted, embedded zero bytes included.
std::wstring Utf8ToWide(const std::string& text);
