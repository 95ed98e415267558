#include "tools/uidriver/HeldFiles.h"

#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/Utf8.h"

#include "platform/UniqueHandle_win.h"

#include <map>

namespace {

std::map<std::wstring, platform::UniqueFileHandle>& Held() {
    static std::map<std::wstring, platform::UniqueFileHandle> held;
    return held;
}

} // namespace

void HoldFile(const std::wstring& path) {
    platform::UniqueFileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0,
                                                  nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                                                  nullptr));
    if (!file)
        throw DriverError("failed", "cannot hold " + ToUtf8(path) + ": error " +
                                        std::to_string(::GetLastError()));
    Held()[path] = std::move(file);
}

void ReleaseFile(const std::wstring& path) {
    Held().erase(path);
}
