#include "platform/ProcessHardening_win.h"

#include "platform/SystemLibrary_win.h"

#include <windows.h>

#include <delayimp.h>

namespace platform {

namespace {

// Loads each delay-loaded DLL (wininet, version, ...) from the system folder
// by full path when it is first used.
FARPROC WINAPI LoadDelayedFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll)
        return nullptr;
    wchar_t name[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, info->szDll, -1, name, MAX_PATH) == 0)
        return nullptr;
    // Null lets the helper fail the call, as it would for a missing DLL.
    return reinterpret_cast<FARPROC>(LoadSystemLibrary(name));
}

} // namespace

void HardenProcess() {
    using HeapSetInformationFn = BOOL(WINAPI*)(HANDLE, HEAP_INFORMATION_CLASS, PVOID, SIZE_T);
    using SetDefaultDllDirectoriesFn = BOOL(WINAPI*)(DWORD);
    using SetDllDirectoryFn = BOOL(WINAPI*)(LPCWSTR);

    if (const auto setHeapInformation = KernelProc<HeapSetInformationFn>("HeapSetInformation"))
        setHeapInformation(nullptr, HeapEnableTerminationOnCorruption, nullptr, 0);
    if (const auto setDefault = KernelProc<SetDefaultDllDirectoriesFn>("SetDefaultDllDirectories"))
        setDefault(LOAD_LIBRARY_SEARCH_SYSTEM32);
    // Takes the current folder out of the search of what is still loaded by name.
    if (const auto setDllDirectory = KernelProc<SetDllDirectoryFn>("SetDllDirectoryW"))
        setDllDirectory(L"");
    __pfnDliNotifyHook2 = &LoadDelayedFromSystemFolder;
}

} // namespace platform
