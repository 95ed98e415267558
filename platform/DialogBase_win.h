#pragma once
#include <windows.h>

#include <atomic>
#include <string>

namespace platform {

// A modal dialog created from a template. The dialog procedure forwards to
// virtual members through the object pointer stored in DWLP_USER.
class DialogBase {
public:
    explicit DialogBase(UINT templateId) : m_templateId(templateId) {}
    virtual ~DialogBase() = default;
    DialogBase(const DialogBase&) = delete;
    DialogBase& operator=(const DialogBase&) = delete;

    // Runs the dialog on the calling thread; returns its result, or -1 when
    // the window could not be created.
    INT_PTR DoModal();

    // Null before the window exists and after it is destroyed. Worker threads
    // read it too, to reach the window through messages.
    HWND GetSafeHwnd() const { return m_hWnd.load(); }
    void EndDialog(INT_PTR result) const { ::EndDialog(GetSafeHwnd(), result); }
    HWND GetDlgItem(int id) const { return ::GetDlgItem(GetSafeHwnd(), id); }

protected:
    // Return TRUE to let the system give the focus to the first control.
    virtual BOOL OnInitDialog() { return TRUE; }
    // IDOK: Enter, or the default button.
    virtual void OnOK() { EndDialog(IDOK); }
    // IDCANCEL: Escape, the caption's close box or a button with id IDCANCEL.
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Every other message. Return true when handled; result is what the
    // message asks for (a brush for WM_CTLCOLOR*, an icon for WM_QUERYDRAGICON,
    // the notification result for WM_NOTIFY).
    virtual bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        return false;
    }

private:
    static INT_PTR CALLBACK DialogProc(HWND hWnd, UINT message, WPARAM wParam, LPARAM lParam);
    INT_PTR Dispatch(UINT message, WPARAM wParam, LPARAM lParam);

    UINT m_templateId;
    std::atomic<HWND> m_hWnd{nullptr};
};

// Control helpers: thin calls on a child window.
void ShowControl(HWND hControl, bool show);
bool IsControlVisible(HWND hControl);
void SetControlText(HWND hControl, const std::wstring& text);

} // namespace platform
