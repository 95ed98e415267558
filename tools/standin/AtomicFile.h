#pragma once
#include <string>
#include <sys/types.h>

namespace standin {

// Writes under a temporary name and renames, so that readers never see half
// a file. Throws std::runtime_error.
void writeFileAtomically(const std::string& path, const std::string& bytes, mode_t mode);

} // namespace standin
