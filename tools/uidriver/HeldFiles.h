#pragma once
#include <string>

// Files the driver holds open on a test's behalf, as another program might
// hold a file the program under test wants: read and write access, shared
// with nobody. Created when missing. Held until released or the driver ends.
void HoldFile(const std::wstring& path);
// Nothing when the file is not held.
void ReleaseFile(const std::wstring& path);
