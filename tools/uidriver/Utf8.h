#pragma once
#include <optional>
#include <string>

// UTF-16 (as Windows hands it out) to UTF-8 (as the protocol carries it) and
// back, independent of the process's code pages. A lone surrogate becomes
// U+FFFD; UTF-8 that is not well formed is refused.
std::string ToUtf8(const std::wstring& text);
std::optional<std::wstring> FromUtf8(const std::string& text);
