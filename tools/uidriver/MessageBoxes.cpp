#include "tools/uidriver/MessageBoxes.h"

#include "tools/uidriver/Deadline.h"
#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/SendWithTimeout.h"
#include "tools/uidriver/Utf8.h"
#include "tools/uidriver/WindowReader.h"
#include "tools/uidriver/WindowText.h"

#include <algorithm>
#include <vector>

namespace {

constexpr int kTextId = 0xFFFF;

bool IsStatic(HWND control) {
    return ClassNameOf(control) == L"Static";
}

bool IsIcon(HWND control) {
    return IsStatic(control) && (GetWindowLongW(control, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
}

HWND TextControl(HWND dialog) {
    for (HWND child : DescendantsOf(dialog)) {
        if ((GetDlgCtrlID(child) & 0xFFFF) == kTextId && IsStatic(child) && !IsIcon(child))
            return child;
    }
    return nullptr;
}

int Left(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect.left;
}

} // namespace

HWND WaitForMessageBox(WindowFilter filter, DWORD timeoutMs) {
    filter.className = L"#32770";
    const Deadline deadline(timeoutMs);
    for (;;) {
        for (HWND window : TopLevelWindows()) {
            if (Matches(window, filter) && TextControl(window))
                return window;
        }
        if (deadline.passed())
            throw DriverError("timeout", "no message box appeared");
        Sleep(kPollMs);
    }
}

Json::Value DescribeMessageBox(HWND messageBox) {
    const HWND text = TextControl(messageBox);
    if (!text)
        throw DriverError("no-window", "the window is not a message box");
    GUITHREADINFO gui{};
    gui.cbSize = sizeof gui;
    GetGUIThreadInfo(GetWindowThreadProcessId(messageBox, nullptr), &gui);

    Json::Value value(Json::objectValue);
    value["hwnd"] = HandleValue(messageBox);
    value["owner"] = HandleValue(GetWindow(messageBox, GW_OWNER));
    value["pid"] = static_cast<Json::UInt>(ProcessIdOf(messageBox));
    value["caption"] = ToUtf8(CaptionOf(messageBox));
    value["text"] = ToUtf8(WindowTextOf(text));
    bool icon = false;
    std::vector<HWND> buttons;
    for (HWND child : DescendantsOf(messageBox)) {
        if (!IsWindowVisible(child))
            continue;
        if (IsIcon(child) && SendWithTimeout(child, STM_GETICON, 0, 0) != 0)
            icon = true;
        if (ClassNameOf(child) == L"Button")
            buttons.push_back(child);
    }
    value["icon"] = icon;
    std::sort(buttons.begin(), buttons.end(), [](HWND a, HWND b) { return Left(a) < Left(b); });
    Json::Value& list = value["buttons"] = Json::Value(Json::arrayValue);
    for (HWND button : buttons) {
        Json::Value entry(Json::objectValue);
        entry["id"] = GetDlgCtrlID(button);
        entry["text"] = ToUtf8(WindowTextOf(button));
        entry["enabled"] = IsWindowEnabled(button) != FALSE;
        entry["focused"] = button == gui.hwndFocus;
        list.append(entry);
    }
    return value;
}
