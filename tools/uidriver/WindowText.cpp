#include "tools/uidriver/WindowText.h"

#include "tools/uidriver/SendWithTimeout.h"

#include <algorithm>
#include <vector>

std::wstring WindowTextOf(HWND window) {
    const auto length = SendWithTimeout(window, WM_GETTEXTLENGTH, 0, 0);
    if (length <= 0)
        return {};
    // The text may grow between the two requests; WM_GETTEXT cuts it to the buffer.
    std::vector<wchar_t> buffer(static_cast<size_t>(length) + 1);
    const auto copied =
        SendWithTimeout(window, WM_GETTEXT, buffer.size(), reinterpret_cast<LPARAM>(buffer.data()));
    const size_t kept = copied > 0 ? static_cast<size_t>(copied) : 0;
    return std::wstring(buffer.data(), std::min(kept, buffer.size() - 1));
}

std::wstring CaptionOf(HWND window) {
    std::wstring caption(static_cast<size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    caption.resize(
        static_cast<size_t>(GetWindowTextW(window, &caption[0], static_cast<int>(caption.size()))));
    return caption;
}

std::wstring ClassNameOf(HWND window) {
    wchar_t name[256];
    const int length = GetClassNameW(window, name, 256);
    return std::wstring(name, length > 0 ? static_cast<size_t>(length) : 0);
}
