#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

// Which top-level windows a request means. Unset fields match anything; only
// visible windows match.
struct WindowFilter {
    std::optional<DWORD> pid;
    std::optional<std::wstring> exe; // file name of the process's program, any case
    std::optional<std::wstring> caption;
    std::optional<std::wstring> className;
    std::optional<HWND> owner;
};

// The top-level windows of the desktop, topmost first.
std::vector<HWND> TopLevelWindows();
// All windows inside a window: children, their children, ...
std::vector<HWND> DescendantsOf(HWND window);
// The control with that id among the window's descendants; throws DriverError
// "no-control".
HWND FindControl(HWND window, int id);
bool Matches(HWND window, const WindowFilter& filter);

// The topmost matching window; throws DriverError "timeout" when none appears.
HWND WaitForWindow(const WindowFilter& filter, DWORD timeoutMs);
// Returns once the window is destroyed; throws DriverError "timeout".
void WaitUntilGone(HWND window, DWORD timeoutMs);

DWORD ProcessIdOf(HWND window);
// The file name (without folder) of the program that owns the window; empty
// when the process cannot be asked.
std::wstring ProgramOf(HWND window);
bool RunsProgram(HWND window, const std::wstring& exe);
