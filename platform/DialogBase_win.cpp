#include "platform/DialogBase_win.h"

namespace platform {

INT_PTR DialogBase::DoModal() {
    return ::DialogBoxParamW(::GetModuleHandleW(nullptr), MAKEINTRESOURCEW(m_templateId), nullptr,
                             &DialogBase::DialogProc, reinterpret_cast<LPARAM>(this));
}

// No exception leaves the procedure: it would cross the system's own frames.
// A message whose handling throws counts as not handled; a window whose
// set-up throws ends.
INT_PTR CALLBACK DialogBase::DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* self = reinterpret_cast<DialogBase*>(lParam);
        ::SetWindowLongPtrW(hWnd, DWLP_USER, lParam);
        self->m_hWnd = hWnd;
        try {
            return self->OnInitDialog();
        } catch (...) {
            ::EndDialog(hWnd, -1);
            return FALSE;
        }
    }
    auto* self = reinterpret_cast<DialogBase*>(::GetWindowLongPtrW(hWnd, DWLP_USER));
    if (!self)
        return FALSE;
    INT_PTR handled = FALSE;
    try {
        handled = self->Dispatch(message, wParam, lParam);
    } catch (...) {
        handled = FALSE;
    }
    if (message == WM_NCDESTROY)
        self->m_hWnd = nullptr;
    return handled;
}

INT_PTR DialogBase::Dispatch(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) {
        switch (LOWORD(wParam)) {
        case IDOK:
            OnOK();
            return TRUE;
        case IDCANCEL:
            OnCancel();
            return TRUE;
        }
    }
    LRESULT result = 0;
    if (!OnMessage(message, wParam, lParam, result))
        return FALSE;
    switch (message) {
    // These return their result directly from the dialog procedure.
    case WM_CTLCOLORMSGBOX:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORSTATIC:
    case WM_QUERYDRAGICON:
    case WM_COMPAREITEM:
    case WM_VKEYTOITEM:
    case WM_CHARTOITEM:
        return static_cast<INT_PTR>(result);
    default:
        ::SetWindowLongPtrW(GetSafeHwnd(), DWLP_MSGRESULT, result);
        return TRUE;
    }
}

void ShowControl(HWND hControl, bool show) {
    ::ShowWindow(hControl, show ? SW_SHOW : SW_HIDE);
}

bool IsControlVisible(HWND hControl) {
    return (::GetWindowLongW(hControl, GWL_STYLE) & WS_VISIBLE) != 0;
}

void SetControlText(HWND hControl, const std::wstring& text) {
    ::SetWindowTextW(hControl, text.c_str());
}

} // namespace platform
