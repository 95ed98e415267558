#pragma once
#include "platform/UniqueHandle_win.h"

#include <wininet.h>

namespace platform {

struct InternetHandleTraits {
    using Handle = HINTERNET;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { ::InternetCloseHandle(h); }
};

using UniqueInternetHandle = UniqueHandle<InternetHandleTraits>;

} // namespace platform
