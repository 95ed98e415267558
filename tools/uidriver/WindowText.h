#pragma once
#include <windows.h>

#include <string>

// The text of a window of any process, as WM_GETTEXT gives it to a user
// (edit controls answer with their content). Throws DriverError "hung" when the
// window's thread does not answer within a few seconds.
std::wstring WindowTextOf(HWND window);
// The caption of a top-level window, which the system keeps: no message is
// sent, so a hung program cannot hold the request up.
std::wstring CaptionOf(HWND window);
std::wstring ClassNameOf(HWND window);
