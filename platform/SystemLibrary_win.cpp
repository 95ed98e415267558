#include "platform/SystemLibrary_win.h"

#include <string>

namespace platform {

HMODULE LoadSystemLibrary(const wchar_t* name) {
    wchar_t folder[MAX_PATH];
    const UINT length = ::GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    const std::wstring path = std::wstring(folder, length) + L"\\" + name;
    // Where the restricted search exists (Windows 7 with KB2533623 and later),
    // the DLL's own imports come from the system folder alone; elsewhere the
    // altered search order puts the DLL's folder, the system one, in place
    // of the program's.
    const bool restricted = KernelProc<FARPROC>("SetDefaultDllDirectories") != nullptr;
    return ::LoadLibraryExW(path.c_str(), nullptr,
                            restricted ? LOAD_LIBRARY_SEARCH_SYSTEM32
                                       : LOAD_WITH_ALTERED_SEARCH_PATH);
}

} // namespace platform
