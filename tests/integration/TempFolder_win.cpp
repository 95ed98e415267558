#include "tests/integration/TempFolder_win.h"

#include <windows.h>

std::wstring MakeTempFolder() {
    static int counter = 0;
    WCHAR temp[MAX_PATH] = {};
    ::GetTempPathW(MAX_PATH, temp);
    std::wstring folder = std::wstring(temp) + L"kestrix-it-" +
                          std::to_wstring(::GetCurrentProcessId()) + L"-" +
                          std::to_wstring(++counter);
    ::CreateDirectoryW(folder.c_str(), nullptr);
    return folder;
}

uint64_t FileSize(const std::wstring& path) {
    uint64_t size = 0;
    return testsupport::FileSizeOf(path, &size) ? size : 0;
}

bool Exists(const std::wstring& path) {
    return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
