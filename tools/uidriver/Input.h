#pragma once
#include <windows.h>

#include <string>

// Operating a window the way a user does, through the messages a mouse click or
// a key press puts into the program's queue. Posted messages keep their order,
// so two requests in a row act in that order (under Wine, a SendInput click
// right after another was sometimes lost). Each throws DriverError when
// a user could not do it either ("hidden", "disabled", "covered") or for a
// key this driver does not know ("bad-request").

// A left click at a point of a control's client area.
void ClickAt(HWND control, POINT clientPoint);
// A left click at the centre of a button.
void ClickButton(HWND button);
// A key press ("Escape", "Enter", "Tab", "Space", "Left", "Right", "Up",
// "Down") for the control that has the keyboard focus in the window's thread.
void PressKey(HWND window, const std::string& key);
// The close box of the caption.
void PressCloseBox(HWND window);
