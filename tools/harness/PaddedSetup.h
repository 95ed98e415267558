#pragma once
#include "tools/harness/CodeSigning.h"

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>

namespace testsupport {

// The stand-in setup program (setupExe) padded to `size` bytes, like a real
// package (data after the image does not change what the program does), and
// signed by `signer` unless none is given: written to `package`. Throws
// std::runtime_error when signing fails.
void MakePaddedSetup(const std::string& setupExe, std::uint64_t size, const std::string& certsDir,
                     std::optional<Signer> signer, const std::filesystem::path& package);

} // namespace testsupport
