#pragma once
#include <windows.h>

// TRUE when another process named exactly "KestrixOfficeInstaller.exe" runs
// that started before this one (InstanceOrder.h). The name is fixed: a copy
// saved under another name stops no one.
BOOL IsAnotherInstanceRunning();
