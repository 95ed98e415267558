#pragma once
#include <string>

// A fresh folder under the Windows temporary folder for one test.
std::wstring MakeTempFolder();

// Lower-case hex SHA-256 of a file's bytes; empty when it cannot be read.
std::string FileSha256(const std::wstring& path);

uint64_t FileSize(const std::wstring& path);
