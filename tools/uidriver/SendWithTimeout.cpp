#include "tools/uidriver/SendWithTimeout.h"

#include "tools/uidriver/DriverError.h"

LRESULT SendWithTimeout(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    constexpr UINT kAnswerMs = 5000;
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kAnswerMs, &result))
        throw DriverError("hung", "the window does not answer");
    return static_cast<LRESULT>(result);
}
