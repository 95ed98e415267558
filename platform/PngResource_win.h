#pragma once
#include <windows.h>

namespace platform {

// Decodes a PNG resource (type "PNG") into a GDI bitmap through GDI+; null
// when it cannot be found or decoded. The caller owns the bitmap.
HBITMAP LoadPngResourceBitmap(HINSTANCE hInstance, UINT id);

} // namespace platform
