#pragma once
#include <string>

namespace standin {

// One line on stderr; lines from different threads never interleave.
void logLine(const std::string& text);

} // namespace standin
