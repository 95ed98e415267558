#include "app/InstanceGuard_win.h"

#include "platform/UniqueHandle_win.h"

#include <cwchar>
#include <tlhelp32.h>

namespace {
const wchar_t kInstallerExeName[] = L"KestrixOfficeInstaller.exe";
}

BOOL IsAnotherInstanceRunning() {
    const DWORD currentProcessId = ::GetCurrentProcessId();
    platform::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return FALSE;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    if (!::Process32FirstW(snapshot.Get(), &entry))
        return FALSE;
    do {
        if (entry.th32ProcessID != currentProcessId &&
            std::wcscmp(entry.szExeFile, kInstallerExeName) == 0)
            return TRUE;
    } while (::Process32NextW(snapshot.Get(), &entry));
    return FALSE;
}
