#include "env/UserAgent_win.h"

#include "env/OsName.h"
#include "env/UserAgent.h"

#include <windows.h>

#include <cstdint>
#include <vector>

namespace {

bool IsServerR2() {
    return GetSystemMetrics(SM_SERVERR2) != 0;
}

// The user's regional-format locale (ko-KR); empty where the system does not
// know LOCALE_SNAME (before Vista).
std::wstring GetLocaleName() {
    wchar_t name[260] = {};
    GetLocaleInfoW(LOCALE_USER_DEFAULT, LOCALE_SNAME, name, 260);
    return name;
}

} // namespace

std::wstring GetOSName() {
    OSVERSIONINFOEXW info = {};
    info.dwOSVersionInfoSize = sizeof(info);
    // A failed call leaves the major version 0, which names no OS.
    GetVersionExW(reinterpret_cast<OSVERSIONINFOW*>(&info));
    OsVersionRecord record;
    record.major = info.dwMajorVersion;
    record.minor = info.dwMinorVersion;
    record.productType = info.wProductType;
    record.suiteMask = info.wSuiteMask;
    return OsNameFor(record, &IsServerR2);
}

std::wstring GetProductVersion() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const DWORD size = GetFileVersionInfoSizeW(path, nullptr);
    if (size == 0)
        return std::wstring();
    std::vector<uint8_t> block(size);
    if (!GetFileVersionInfoW(path, 0, size, block.data()))
        return std::wstring();
    void* value = nullptr;
    UINT length = 0;
    if (!VerQueryValueW(block.data(), L"\\", &value, &length) || !value ||
        length < sizeof(VS_FIXEDFILEINFO))
        return std::wstring();
    const auto* fixed = static_cast<const VS_FIXEDFILEINFO*>(value);
    return FormatProductVersion(fixed->dwProductVersionMS, fixed->dwProductVersionLS);
}

std::wstring MakeUserAgent() {
    const std::wstring os = GetOSName();
    const std::wstring locale = GetLocaleName();
    const std::wstring version = GetProductVersion();
    return FormatUserAgent(os, locale, version);
}
