#include "platform/FileDisposition_win.h"

#include "platform/SystemLibrary_win.h"

namespace platform {

namespace {

// ntdll's own call, which every Windows from XP on has (kernel32's
// SetFileInformationByHandle arrived with Vista); the types are its own.
struct IoStatusBlock {
    union {
        LONG status;
        PVOID pointer;
    };
    ULONG_PTR information;
};
struct FileDispositionInformation {
    BOOLEAN deleteFile;
};
constexpr int kFileDispositionInformation = 13;
using NtSetInformationFileFn = LONG(NTAPI*)(HANDLE, IoStatusBlock*, PVOID, ULONG, int);

} // namespace

bool SetDeleteOnClose(HANDLE file, bool deleteOnClose) {
    static const auto setInformation = SystemProc<NtSetInformationFileFn>(
        ::GetModuleHandleW(L"ntdll.dll"), "NtSetInformationFile");
    if (!setInformation || !file || file == INVALID_HANDLE_VALUE)
        return false;
    IoStatusBlock status = {};
    FileDispositionInformation disposition = {static_cast<BOOLEAN>(deleteOnClose)};
    return setInformation(file, &status, &disposition, sizeof(disposition),
                          kFileDispositionInformation) >= 0;
}

} // namespace platform
