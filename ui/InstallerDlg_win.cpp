#include "ui/InstallerDlg_win.h"

#include "net/Connectivity_win.h"
#include "platform/ResourceString_win.h"
#include "res/resource.h"

CKSInstallerDlg::CKSInstallerDlg(InstanceCheck isAnotherInstanceRunning)
    : DialogBase(IDD_INSTALLER),
      m_hIcon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(IDI_INSTALLER), IMAGE_ICON, 0, 0,
                                              LR_DEFAULTSIZE | LR_SHARED))),
      m_isAnotherInstanceRunning(isAnotherInstanceRunning) {}

BOOL CKSInstallerDlg::OnInitDialog() {
    DialogBase::OnInitDialog();
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    ::SetWindowTextW(
        GetSafeHwnd(),
        platform::LoadResourceString(::GetModuleHandleW(nullptr), IDS_CAPTION).c_str());
    ShowConnectionState();
    if (m_isAnotherInstanceRunning()) {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    return TRUE;
}

void CKSInstallerDlg::ShowConnectionState() {
    if (IsInternetConnected()) {
        SetTitle(IDS_CONNECTING);
        m_bOffline = 0;
    } else {
        platform::ShowControl(GetDlgItem(IDC_DESCRIPTION), true);
        platform::ShowControl(GetDlgItem(IDCANCEL), true);
        ::SetFocus(GetDlgItem(IDCANCEL));
        SetTitle(IDS_NO_CONNECTION);
        m_bOffline = 1;
    }
}

void CKSInstallerDlg::SetTitle(UINT stringId) {
    platform::SetControlText(GetDlgItem(IDC_TITLE),
                             platform::LoadResourceString(::GetModuleHandleW(nullptr), stringId));
    ::InvalidateRect(GetSafeHwnd(), nullptr, TRUE);
}

bool CKSInstallerDlg::OnMessage(UINT message, WPARAM, LPARAM, LRESULT& result) {
    if (message == WM_QUERYDRAGICON) {
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    }
    return false;
}
