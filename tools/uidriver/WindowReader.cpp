#include "tools/uidriver/WindowReader.h"

#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/Utf8.h"
#include "tools/uidriver/WindowSearch.h"
#include "tools/uidriver/WindowText.h"

#include <algorithm>
#include <vector>

namespace {

Json::Value RectValue(RECT rect) {
    Json::Value value(Json::objectValue);
    // Mapped into a mirrored (right-to-left) window the corners swap sides.
    value["left"] = static_cast<int>(std::min(rect.left, rect.right));
    value["top"] = static_cast<int>(rect.top);
    value["right"] = static_cast<int>(std::max(rect.left, rect.right));
    value["bottom"] = static_cast<int>(rect.bottom);
    return value;
}

RECT MapRect(RECT rect, HWND from, HWND to) {
    MapWindowPoints(from, to, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

HWND FocusOf(HWND window) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info))
        return nullptr;
    return info.hwndFocus;
}

Json::Value DescribeControl(HWND control, HWND focus) {
    Json::Value value(Json::objectValue);
    value["hwnd"] = HandleValue(control);
    value["id"] = GetDlgCtrlID(control);
    value["parent"] = HandleValue(GetParent(control));
    value["className"] = ToUtf8(ClassNameOf(control));
    value["text"] = ToUtf8(WindowTextOf(control));
    value["visible"] = IsWindowVisible(control) != FALSE;
    value["enabled"] = IsWindowEnabled(control) != FALSE;
    value["focused"] = control == focus;
    value["style"] = static_cast<Json::UInt>(GetWindowLongW(control, GWL_STYLE));
    value["exStyle"] = static_cast<Json::UInt>(GetWindowLongW(control, GWL_EXSTYLE));
    RECT screen{};
    GetWindowRect(control, &screen);
    value["rect"] = RectValue(MapRect(screen, HWND_DESKTOP, GetParent(control)));
    value["screenRect"] = RectValue(screen);
    return value;
}

} // namespace

Json::Value HandleValue(HWND window) {
    return static_cast<Json::UInt>(reinterpret_cast<UINT_PTR>(window));
}

Json::Value DescribeWindow(HWND window) {
    const HWND focus = FocusOf(window);
    Json::Value value(Json::objectValue);
    DWORD pid = 0;
    const DWORD tid = GetWindowThreadProcessId(window, &pid);
    value["hwnd"] = HandleValue(window);
    value["pid"] = static_cast<Json::UInt>(pid);
    value["tid"] = static_cast<Json::UInt>(tid);
    value["exe"] = ToUtf8(ProgramOf(window));
    value["owner"] = HandleValue(GetWindow(window, GW_OWNER));
    value["className"] = ToUtf8(ClassNameOf(window));
    value["caption"] = ToUtf8(CaptionOf(window));
    value["visible"] = IsWindowVisible(window) != FALSE;
    value["enabled"] = IsWindowEnabled(window) != FALSE;
    value["foreground"] = GetForegroundWindow() == window;
    const LONG exStyle = GetWindowLongW(window, GWL_EXSTYLE);
    value["rtl"] = (exStyle & WS_EX_LAYOUTRTL) != 0;
    value["style"] = static_cast<Json::UInt>(GetWindowLongW(window, GWL_STYLE));
    value["exStyle"] = static_cast<Json::UInt>(exStyle);
    RECT outer{};
    GetWindowRect(window, &outer);
    value["rect"] = RectValue(outer);
    RECT client{};
    GetClientRect(window, &client);
    value["clientRect"] = RectValue(MapRect(client, window, HWND_DESKTOP));
    value["focus"] =
        focus && IsChild(window, focus) ? Json::Value(GetDlgCtrlID(focus)) : Json::Value();
    Json::Value& controls = value["controls"] = Json::Value(Json::arrayValue);
    for (HWND child : DescendantsOf(window))
        controls.append(DescribeControl(child, focus));
    return value;
}
