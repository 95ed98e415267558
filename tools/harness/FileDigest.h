#pragma once
#include <filesystem>
#include <string>

namespace testsupport {

// Lower-case hex SHA-256 of a file's bytes, streamed; empty when it cannot be read.
std::string Sha256OfFile(const std::filesystem::path& path);

} // namespace testsupport
