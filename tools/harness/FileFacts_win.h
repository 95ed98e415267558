#pragma once
#include "tools/harness/FileDigest.h"

#include <cstdint>
#include <string>

namespace testsupport {

// The size of a file in bytes; false when it cannot be read.
bool FileSizeOf(const std::wstring& path, uint64_t* size);

} // namespace testsupport
