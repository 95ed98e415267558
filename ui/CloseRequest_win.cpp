// The close request (Close button, Escape, the caption's close box): asks
// for confirmation while work is under way, pausing the download meanwhile.
#include "ui/InstallerDlg_win.h"

#include "net/Connectivity_win.h"
#include "net/NetManager.h"
#include "res/resource.h"
#include "ui/FlowRules.h"

#include <utility>

namespace {
// How long a cancelled download has to report before the window ends anyway:
// a transfer blocked inside the Internet library may not notice the abort.
const UINT kCancelGraceMs = 3000;
} // namespace

void CKSInstallerDlg::OnCancel() {
    if (!m_pNetManager || !IsInternetConnected() || m_bOffline) {
        EndDialog(IDCANCEL);
        return;
    }
    const wchar_t* screen = CloseEventScreen(m_bAwaitingFirstProgress != 0,
                                             platform::IsControlVisible(Control(IDRETRY)));
    SendUsageEvent(UsageEventKind::ControlEvent, screen, L"Close");
    // A head start for the close event's upload, so that it tends to reach
    // the collector before the question's page view sent just after.
    ::Sleep(5);
    if (IsInternetConnected())
        m_pNetManager->PauseDownload(1);
    const std::wstring text = LoadText(IDS_CANCEL_CONFIRM);
    const std::wstring caption = LoadText(IDS_CANCEL_CAPTION);
    SendUsageEvent(UsageEventKind::PageView, L"CancelInstall", L"");
    // The box's own message loop keeps dispatching to this window: a package
    // URL, a finished download or a finished signature check that arrives
    // meanwhile waits for the answer.
    m_bConfirming = true;
    const int answer =
        ::MessageBoxW(GetSafeHwnd(), text.c_str(), caption.c_str(), MB_YESNO | MB_ICONQUESTION);
    m_bConfirming = false;
    const bool urlHeld = std::exchange(m_bHeldUrlReady, false);
    const bool downloadDoneHeld = std::exchange(m_bHeldDownloadDone, false);
    const bool setupCheckedHeld = std::exchange(m_bHeldSetupChecked, false);
    // The answer is obeyed whatever the connection probe says by now: a resumed
    // download whose connection is gone fails at its next read.
    if (answer == IDYES) {
        SendUsageEvent(UsageEventKind::ControlEvent, L"CancelInstall", L"Yes");
        m_bCancelRequested = 1;
        // A download that has already reported has nothing left to abort.
        if (downloadDoneHeld || setupCheckedHeld || !m_pNetManager->AbortDownload())
            EndDialog(IDCANCEL);
        else
            ::SetTimer(GetSafeHwnd(), kCancelTimer, kCancelGraceMs, nullptr);
        return;
    }
    SendUsageEvent(UsageEventKind::ControlEvent, L"CancelInstall", L"No");
    m_pNetManager->PauseDownload(0);
    if (urlHeld)
        OnUrlReady();
    if (downloadDoneHeld)
        OnDownloadDone();
    if (setupCheckedHeld)
        OnSetupChecked();
}
