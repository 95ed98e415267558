#pragma once
#include <cstdint>
#include <string>

// Whether a downloaded file holds the package: its size and, when an
// expected SHA-256 is given, its digest. Empty when it does, else why not.
std::string CheckDownloadedFile(const std::wstring& path, uint64_t size, const std::string& sha256);
