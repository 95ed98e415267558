// A DLL that someone left next to a downloaded installer, under the name of a
// DLL the installer uses: if it is ever loaded, it leaves <its path>.loaded
// behind. Its exports (planted.def) are the names the installer takes from
// those DLLs, so that a loader that picks it up also gets as far as running it.
#include <windows.h>

#include <string>

extern "C" int PlantedExport() {
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) {
        wchar_t path[MAX_PATH];
        const DWORD length = ::GetModuleFileNameW(instance, path, MAX_PATH);
        if (length > 0 && length < MAX_PATH) {
            const std::wstring marker = std::wstring(path, length) + L".loaded";
            const HANDLE file = ::CreateFileW(marker.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
            if (file != INVALID_HANDLE_VALUE)
                ::CloseHandle(file);
        }
    }
    return TRUE;
}
