#pragma once
#include <string>

namespace testsupport {

// Lower-case hex SHA-256 of a file's bytes, streamed; empty when it cannot be read.
std::string Sha256OfFile(const std::string& path);

} // namespace testsupport
