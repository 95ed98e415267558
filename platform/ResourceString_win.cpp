#include "platform/ResourceString_win.h"

namespace platform {

std::wstring LoadResourceString(HINSTANCE hInstance, UINT id) {
    HRSRC hInfo = ::FindResourceW(hInstance, MAKEINTRESOURCEW(id / 16 + 1), RT_STRING);
    if (!hInfo)
        return {};
    HGLOBAL hData = ::LoadResource(hInstance, hInfo);
    const auto* p = hData ? static_cast<const WCHAR*>(::LockResource(hData)) : nullptr;
    if (!p)
        return {};
    const DWORD size = ::SizeofResource(hInstance, hInfo) / sizeof(WCHAR);
    const WCHAR* end = p + size;
    // A block holds 16 counted strings; skip to the id's position in it.
    for (UINT i = 0; i < id % 16; ++i) {
        if (p >= end)
            return {};
        p += 1 + *p;
    }
    if (p >= end || p + 1 + *p > end)
        return {};
    return std::wstring(p + 1, *p);
}

} // namespace platform
