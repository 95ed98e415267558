// The baseline of the whole-program benchmark: the least a Win32 dialog
// program is. It shows one dialog until it is closed.
#include "bench/MinimalDialog.h"

#include <windows.h>

namespace {

INT_PTR CALLBACK DialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        return TRUE;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL) {
            ::EndDialog(dialog, LOWORD(wParam));
            return TRUE;
        }
        break;
    }
    return FALSE;
}

} // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
    return static_cast<int>(
        ::DialogBoxParamW(instance, MAKEINTRESOURCEW(IDD_MINIMAL_DIALOG), nullptr, DialogProc, 0));
}
