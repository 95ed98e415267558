#include "tools/harness/FileFacts_win.h"

#include <windows.h>

namespace testsupport {

bool FileSizeOf(const std::wstring& path, uint64_t* size) {
    WIN32_FILE_ATTRIBUTE_DATA data = {};
    if (!::GetFileAttributesExW(path.c_str(), GetFileExInfoStandard, &data))
        return false;
    *size = (static_cast<uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    return true;
}

} // namespace testsupport
