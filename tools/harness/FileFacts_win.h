#pragma once
#include <cstdint>
#include <string>

namespace testsupport {

// The size of a file in bytes; false when it cannot be read.
bool FileSizeOf(const std::wstring& path, uint64_t* size);

// Lower-case hex SHA-256 of a file's bytes, streamed; empty when it cannot be read.
std::string FileSha256(const std::wstring& path);

} // namespace testsupport
