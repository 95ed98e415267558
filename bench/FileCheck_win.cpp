#include "bench/FileCheck_win.h"

#include "tools/harness/FileFacts_win.h"

std::string CheckDownloadedFile(const std::wstring& path, uint64_t size,
                                const std::string& sha256) {
    uint64_t found = 0;
    if (!testsupport::FileSizeOf(path, &found))
        return "no file";
    if (found != size)
        return "size " + std::to_string(found) + " instead of " + std::to_string(size);
    if (!sha256.empty() && testsupport::Sha256OfFile(path) != sha256)
        return "SHA-256 differs";
    return {};
}
