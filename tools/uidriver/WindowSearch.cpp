#include "tools/uidriver/WindowSearch.h"

#include "platform/UniqueHandle_win.h"
#include "tools/uidriver/Deadline.h"
#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/WindowText.h"

namespace {

BOOL CALLBACK Collect(HWND window, LPARAM list) {
    reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
    return TRUE;
}

} // namespace

std::vector<HWND> TopLevelWindows() {
    std::vector<HWND> windows;
    EnumWindows(Collect, reinterpret_cast<LPARAM>(&windows));
    return windows;
}

std::vector<HWND> DescendantsOf(HWND window) {
    std::vector<HWND> children;
    EnumChildWindows(window, Collect, reinterpret_cast<LPARAM>(&children));
    return children;
}

HWND FindControl(HWND window, int id) {
    for (HWND child : DescendantsOf(window)) {
        if (GetDlgCtrlID(child) == id)
            return child;
    }
    throw DriverError("no-control", "the window has no control " + std::to_string(id));
}

DWORD ProcessIdOf(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return pid;
}

std::wstring ProgramOf(HWND window) {
    const platform::UniqueKernelHandle process(
        OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, ProcessIdOf(window)));
    if (!process)
        return {};
    std::wstring path(32768, L'\0');
    DWORD length = static_cast<DWORD>(path.size());
    if (!QueryFullProcessImageNameW(process.Get(), 0, &path[0], &length))
        return {};
    path.resize(length);
    return path.substr(path.find_last_of(L"\\/") + 1);
}

bool RunsProgram(HWND window, const std::wstring& exe) {
    return lstrcmpiW(ProgramOf(window).c_str(), exe.c_str()) == 0;
}

bool Matches(HWND window, const WindowFilter& filter) {
    if (!IsWindowVisible(window))
        return false;
    if (filter.pid && ProcessIdOf(window) != *filter.pid)
        return false;
    if (filter.owner && GetWindow(window, GW_OWNER) != *filter.owner)
        return false;
    if (filter.exe && !RunsProgram(window, *filter.exe))
        return false;
    if (filter.className && ClassNameOf(window) != *filter.className)
        return false;
    if (filter.caption && CaptionOf(window) != *filter.caption)
        return false;
    return true;
}

HWND WaitForWindow(const WindowFilter& filter, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    for (;;) {
        for (HWND window : TopLevelWindows()) {
            if (Matches(window, filter))
                return window;
        }
        if (deadline.passed())
            throw DriverError("timeout", "no such window appeared");
        Sleep(kPollMs);
    }
}

void WaitUntilGone(HWND window, DWORD timeoutMs) {
    const Deadline deadline(timeoutMs);
    while (IsWindow(window)) {
        if (deadline.passed())
            throw DriverError("timeout", "the window is still there");
        Sleep(kPollMs);
    }
}
