#include "platform/ModuleName_win.h"

#include <windows.h>

#include <shlwapi.h>

namespace platform {

std::wstring GetExecutableBaseName() {
    WCHAR path[MAX_PATH] = {};
    ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    WCHAR* name = ::PathFindFileNameW(path);
    ::PathRemoveExtensionW(name);
    return name;
}

} // namespace platform
