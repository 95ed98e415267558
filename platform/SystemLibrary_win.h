#pragma once
#include <windows.h>

#include <type_traits>

namespace platform {

// Loads a DLL of Windows from the system folder by its full path, never from
// the program's folder or the current one, where a downloaded installer may
// find planted DLLs. Its own imports are searched there too. Null when it
// cannot be loaded. The module stays loaded for the life of the process.
HMODULE LoadSystemLibrary(const wchar_t* name);

// An export looked up at run time, as the function type the caller names:
// for functions that not every supported Windows has, and for the DLLs loaded
// with LoadSystemLibrary. Null when the module or the export is missing.
// GetProcAddress's FARPROC fits no real signature; this is the one place that
// converts it.
template <typename Function> Function SystemProc(HMODULE module, const char* name) {
    static_assert(std::is_pointer_v<Function> &&
                      std::is_function_v<std::remove_pointer_t<Function>>,
                  "SystemProc gives a pointer to a function");
    if (!module)
        return nullptr;
    return reinterpret_cast<Function>(reinterpret_cast<void*>(::GetProcAddress(module, name)));
}

// The same for an export of kernel32.dll, which every process has loaded.
template <typename Function> Function KernelProc(const char* name) {
    return SystemProc<Function>(::GetModuleHandleW(L"kernel32.dll"), name);
}

} // namespace platform
