#include "platform/ProcessHardening_win.h"

#include "platform/SystemLibrary_win.h"

#include <windows.h>

#include <delayimp.h>

namespace platform {

namespace {

// Loads each delay-loaded DLL (wininet, version, ...) from the system folder
// by full path when it is first used. Given no module, mingw-w64's helper
// would call LoadLibraryA with the bare name: so a DLL the system folder
// lacks ends here, as the helper itself ends a DLL it cannot find.
FARPROC WINAPI LoadDelayedFromSystemFolder(unsigned notification, PDelayLoadInfo info) {
    if (notification != dliNotePreLoadLibrary || !info || !info->szDll)
        return nullptr;
    wchar_t name[MAX_PATH];
    if (::MultiByteToWideChar(CP_ACP, 0, info->szDll, -1, name, MAX_PATH) != 0) {
        if (const HMODULE module = LoadSystemLibrary(name))
            return reinterpret_cast<FARPROC>(module);
    }
    info->dwLastError = ::GetLastError();
    ULONG_PTR argument = reinterpret_cast<ULONG_PTR>(info);
    ::RaiseException(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND), 0, 1, &argument);
    // A handler that carries on must not send the helper searching either.
    ::TerminateProcess(::GetCurrentProcess(), ERROR_MOD_NOT_FOUND);
    return nullptr;
}

} // namespace

void InstallDelayLoadHook() {
    __pfnDliNotifyHook2 = &LoadDelayedFromSystemFolder;
}

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
    InstallDelayLoadHook();
}

} // namespace platform
