#include "platform/PngResource_win.h"

#include <objidl.h>

#include <gdiplus.h>

#include <cstring>

namespace platform {

namespace {

// A stream over a copy of the resource bytes; CreateStreamOnHGlobal exists
// on every Windows the installer supports.
IStream* CreateResourceStream(HINSTANCE hInstance, UINT id) {
    HRSRC hInfo = ::FindResourceW(hInstance, MAKEINTRESOURCEW(id), L"PNG");
    HGLOBAL hData = hInfo ? ::LoadResource(hInstance, hInfo) : nullptr;
    const void* bytes = hData ? ::LockResource(hData) : nullptr;
    const DWORD size = hInfo ? ::SizeofResource(hInstance, hInfo) : 0;
    if (!bytes || size == 0)
        return nullptr;
    HGLOBAL hCopy = ::GlobalAlloc(GMEM_MOVEABLE, size);
    if (!hCopy)
        return nullptr;
    std::memcpy(::GlobalLock(hCopy), bytes, size);
    ::GlobalUnlock(hCopy);
    IStream* stream = nullptr;
    if (FAILED(::CreateStreamOnHGlobal(hCopy, TRUE, &stream))) {
        ::GlobalFree(hCopy);
        return nullptr;
    }
    return stream;
}

} // namespace

HBITMAP LoadPngResourceBitmap(HINSTANCE hInstance, UINT id) {
    Gdiplus::GdiplusStartupInput input;
    ULONG_PTR token = 0;
    if (Gdiplus::GdiplusStartup(&token, &input, nullptr) != Gdiplus::Ok)
        return nullptr;
    HBITMAP hBitmap = nullptr;
    if (IStream* stream = CreateResourceStream(hInstance, id)) {
        {
            Gdiplus::Bitmap image(stream);
            if (image.GetLastStatus() == Gdiplus::Ok)
                image.GetHBITMAP(Gdiplus::Color(255, 255, 255), &hBitmap);
        }
        stream->Release();
    }
    Gdiplus::GdiplusShutdown(token);
    return hBitmap;
}

} // namespace platform
