#include "app/InstanceGuard_win.h"

#include "app/InstanceOrder.h"
#include "platform/UniqueHandle_win.h"

#include <cwchar>
#include <tlhelp32.h>

namespace {

const wchar_t kInstallerExeName[] = L"KestrixOfficeInstaller.exe";

std::optional<uint64_t> CreationTime(HANDLE process) {
    FILETIME created, exited, kernel, user;
    if (!::GetProcessTimes(process, &created, &exited, &kernel, &user))
        return std::nullopt;
    return (static_cast<uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

// The limited right is enough from Vista on; Windows XP knows only the full one.
std::optional<uint64_t> CreationTimeOf(DWORD processId) {
    for (DWORD access :
         {DWORD{PROCESS_QUERY_LIMITED_INFORMATION}, DWORD{PROCESS_QUERY_INFORMATION}}) {
        platform::UniqueKernelHandle process(::OpenProcess(access, FALSE, processId));
        if (process)
            return CreationTime(process.Get());
    }
    return std::nullopt;
}

} // namespace

BOOL IsAnotherInstanceRunning() {
    const InstallerProcess self{::GetCurrentProcessId(), CreationTime(::GetCurrentProcess())};
    platform::UniqueFileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
    if (!snapshot)
        return FALSE;
    PROCESSENTRY32W entry = {};
    entry.dwSize = sizeof(entry);
    if (!::Process32FirstW(snapshot.Get(), &entry))
        return FALSE;
    do {
        if (entry.th32ProcessID != self.processId &&
            std::wcscmp(entry.szExeFile, kInstallerExeName) == 0 &&
            EndsForOther(self, {entry.th32ProcessID, CreationTimeOf(entry.th32ProcessID)}))
            return TRUE;
    } while (::Process32NextW(snapshot.Get(), &entry));
    return FALSE;
}
