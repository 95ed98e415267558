#pragma once
#include <string>

namespace platform {

// The running executable's file name without folder and extension, e.g.
// "KestrixOfficeInstaller"; the application's name.
std::wstring GetExecutableBaseName();

} // namespace platform
