#pragma once
#include <windows.h>

// Sends a message to a window of another process and returns its answer. Throws
// DriverError "hung" when the window's thread does not answer within a few
// seconds: a hung program fails the request, not the whole test run; and
// "no-window" when the window is destroyed meanwhile.
LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
