#include "net/Connectivity_win.h"

#include <wininet.h>

#if KESTRIX_TEST_HOOKS
#include "platform/TestHooks.h"
#endif

BOOL IsInternetConnected() {
#if KESTRIX_TEST_HOOKS
    if (platform::TestHookEnabled("KESTRIX_TEST_OFFLINE"))
        return FALSE;
    // "0" in the file: not connected; anything else: connected.
    if (const auto answer = platform::TestHookFileAnswer("KESTRIX_TEST_CONNECTIVITY_FILE"))
        return *answer == '0' ? FALSE : TRUE;
#endif
    DWORD flags = 0;
    WCHAR connectionName[256] = {};
    return ::InternetGetConnectedStateExW(&flags, connectionName, 256, 0);
}
