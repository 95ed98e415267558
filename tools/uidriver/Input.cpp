#include "tools/uidriver/Input.h"

#include "tools/uidriver/DriverError.h"

#include <map>

namespace {

void RequireUsable(HWND control) {
    if (!IsWindowVisible(control))
        throw DriverError("hidden", "the control is not visible");
    if (!IsWindowEnabled(control) || !IsWindowEnabled(GetAncestor(control, GA_ROOT)))
        throw DriverError("disabled", "the control or its window is disabled");
}

UINT KeyCode(const std::string& key) {
    static const std::map<std::string, UINT> codes = {
        {"Escape", VK_ESCAPE}, {"Enter", VK_RETURN}, {"Tab", VK_TAB}, {"Space", VK_SPACE},
        {"Left", VK_LEFT},     {"Right", VK_RIGHT},  {"Up", VK_UP},   {"Down", VK_DOWN},
    };
    const auto code = codes.find(key);
    if (code == codes.end())
        throw DriverError("bad-request", "unknown key " + key);
    return code->second;
}

} // namespace

void ClickAt(HWND control, POINT clientPoint) {
    RequireUsable(control);
    POINT screen = clientPoint;
    ClientToScreen(control, &screen);
    const HWND hit = WindowFromPoint(screen);
    if (hit != control && !IsChild(control, hit))
        throw DriverError("covered", "another window covers the control");
    const LPARAM at = MAKELPARAM(clientPoint.x, clientPoint.y);
    PostMessageW(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageW(control, WM_LBUTTONUP, 0, at);
}

void ClickButton(HWND button) {
    RECT client{};
    GetClientRect(button, &client);
    ClickAt(button, {(client.left + client.right) / 2, (client.top + client.bottom) / 2});
}

void PressKey(HWND window, const std::string& key) {
    const UINT code = KeyCode(key);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info);
    const HWND target = info.hwndFocus ? info.hwndFocus : window;
    // Repeat count 1 and the scan code; a release also has the previous-state
    // and transition bits set.
    const LPARAM press = 1 | (static_cast<LPARAM>(MapVirtualKeyW(code, MAPVK_VK_TO_VSC)) << 16);
    PostMessageW(target, WM_KEYDOWN, code, press);
    PostMessageW(target, WM_KEYUP, code, press | 0xC0000000);
}

void PressCloseBox(HWND window) {
    PostMessageW(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}
