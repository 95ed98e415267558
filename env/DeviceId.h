#pragma once
#include <string>

// The device identifier for an adapter address text: the MD5 digest of the
// text's UTF-8 bytes as 32 lower-case hex digits, then "#7" (34 characters).
// An empty text gives the digest of no bytes.
std::wstring DeviceIdFor(const std::wstring& addressText);
