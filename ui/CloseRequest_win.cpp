// The close request (Close button, Escape, the caption's close box): asks
// for confirmation while work is under way, pausing the download meanwhile.
#include "ui/InstallerDlg_win.h"

#include "net/Connectivity_win.h"
#include "net/NetManager.h"
#include "res/resource.h"
#include "ui/FlowRules.h"

void CKSInstallerDlg::OnCancel() {
    if (!m_pNetManager || !IsInternetConnected() || m_bOffline) {
        EndDialog(IDCANCEL);
        return;
    }
    const wchar_t* screen = CloseEventScreen(m_bAwaitingFirstProgress != 0,
                                             platform::IsControlVisible(Control(IDRETRY)));
    SendUsageEvent(2, screen, L"Close");
    ::Sleep(5);
    if (m_pNetManager && IsInternetConnected())
        m_pNetManager->PauseDownload(1);
    const std::wstring text = LoadText(IDS_CANCEL_CONFIRM);
    const std::wstring caption = LoadText(IDS_CANCEL_CAPTION);
    SendUsageEvent(1, L"CancelInstall", L"");
    const int answer =
        ::MessageBoxW(GetSafeHwnd(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION);
    if (answer == IDYES) {
        SendUsageEvent(2, L"CancelInstall", L"Yes");
        m_bCancelRequested = 1;
        if (m_pNetManager && IsInternetConnected() && !m_pNetManager->AbortDownload())
            EndDialog(IDCANCEL);
    } else {
        SendUsageEvent(2, L"CancelInstall", L"No");
        if (m_pNetManager && IsInternetConnected())
            m_pNetManager->PauseDownload(0);
    }
}
