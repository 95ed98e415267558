#pragma once
#include "tools/harness/FileFacts_win.h"

#include <string>

// A fresh folder under the Windows temporary folder for one test.
std::wstring MakeTempFolder();

using testsupport::Sha256OfFile;

// A file's size; 0 when it cannot be read.
uint64_t FileSize(const std::wstring& path);

// Whether anything is there under that name.
bool Exists(const std::wstring& path);
