#pragma once
#include <windows.h>

// TRUE when another process named exactly "KestrixOfficeInstaller.exe" runs.
// The name is fixed: a copy saved under another name stops no one.
BOOL IsAnotherInstanceRunning();
