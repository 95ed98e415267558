#include "ui/InstallerDlg_win.h"

#include "net/Connectivity_win.h"
#include "net/NetManager.h"
#include "platform/ModuleName_win.h"
#include "platform/ResourceString_win.h"
#include "res/resource.h"
#include "ui/FlowRules.h"
#include "usage/LogClock_win.h"

#include <commctrl.h>
#include <shellapi.h>
#include <uxtheme.h>

CKSInstallerDlg::CKSInstallerDlg(InstanceCheck isAnotherInstanceRunning,
                                 std::shared_ptr<NetExchanges> exchanges)
    : DialogBase(IDD_INSTALLER),
      m_hIcon(static_cast<HICON>(::LoadImageW(::GetModuleHandleW(nullptr),
                                              MAKEINTRESOURCEW(IDI_INSTALLER), IMAGE_ICON, 0, 0,
                                              LR_DEFAULTSIZE | LR_SHARED))),
      m_logClock(WindowsLogClockSources()),
      m_strManagerJson(L"{\"managerName\" : \"" + platform::GetExecutableBaseName() + L"\" }"),
      m_pNetManager(std::make_unique<CKNNetManager>(
          this,
          CKNNetManager::Callbacks{&CKSInstallerDlg::OnJobResult,
                                   &CKSInstallerDlg::OnDownloadProgress},
          std::move(exchanges))),
      m_isAnotherInstanceRunning(isAnotherInstanceRunning) {}

// The link to this window is cut first (it already is once the window has
// been destroyed), so that no callback runs while the manager goes away.
CKSInstallerDlg::~CKSInstallerDlg() {
    if (m_pNetManager)
        m_pNetManager->DetachOwner();
    m_pNetManager.reset();
}

void CKSInstallerDlg::WaitForLogUploads(unsigned maxMs) {
    if (m_pNetManager)
        m_pNetManager->WaitForLogUploads(maxMs);
}

std::wstring CKSInstallerDlg::LoadText(UINT id) const {
    return platform::LoadResourceString(::GetModuleHandleW(nullptr), id);
}

BOOL CKSInstallerDlg::OnInitDialog() {
    DialogBase::OnInitDialog();
    ::SendMessageW(GetSafeHwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(m_hIcon));
    InitDialogFont();
    ::SetWindowTextW(GetSafeHwnd(), LoadText(IDS_CAPTION).c_str());
    InitControls();
    LayoutControls();
    ShowConnectionState();
    if (m_isAnotherInstanceRunning()) {
        EndDialog(IDCANCEL);
        return FALSE;
    }
    StartPackageUrlJob();
    return TRUE;
}

// Unless the no-connection view is shown or the probe now says otherwise (the
// two may disagree). A job whose thread cannot start gives the failure view,
// so that Retry is offered.
void CKSInstallerDlg::StartPackageUrlJob() {
    if (!m_pNetManager || m_bOffline || !IsInternetConnected())
        return;
    if (m_pNetManager->StartPackageUrlJob() == 0)
        PostToWindow(WM_SHOW_FAILURE);
}

void CKSInstallerDlg::ShowView(View view) {
    const ViewControls& controls = ControlsOf(view);
    const auto apply = [this](int id, Visibility visibility) {
        if (visibility != Visibility::Unchanged)
            platform::ShowControl(Control(id), visibility == Visibility::Shown);
    };
    apply(IDC_DESCRIPTION, controls.description);
    apply(IDC_HELP_LINK, controls.helpLink);
    apply(IDRETRY, controls.retry);
    apply(IDCANCEL, controls.close);
    if (controls.focusClose)
        ::SetFocus(Control(IDCANCEL));
    SetTitle(controls.titleString);
}

// Also called from the download's worker: a window that is gone is left
// alone (a null window would invalidate every window on the desktop).
void CKSInstallerDlg::SetTitle(UINT stringId) {
    const HWND hWnd = GetSafeHwnd();
    if (!hWnd)
        return;
    platform::SetControlText(::GetDlgItem(hWnd, IDC_TITLE), LoadText(stringId));
    ::InvalidateRect(hWnd, nullptr, TRUE);
}

void CKSInstallerDlg::ShowConnectionState() {
    if (IsInternetConnected()) {
        HWND hProgress = Control(IDC_PROGRESS);
        ::SetWindowLongW(hProgress, GWL_STYLE,
                         ::GetWindowLongW(hProgress, GWL_STYLE) | PBS_MARQUEE);
        ::SendMessageW(hProgress, PBM_SETSTEP, 5, 0);
        ::SendMessageW(hProgress, PBM_SETMARQUEE, TRUE, 50);
        // A blank name matches no theme; Wine refuses an empty one and keeps the theme.
        ::SetWindowTheme(hProgress, L" ", L" ");
        m_bOffline = 0;
        SendUsageEvent(UsageEventKind::PageView, L"ConnectInternet", L"");
        ShowView(View::Connecting);
    } else {
        m_bOffline = 1;
        ShowView(View::NoConnection);
    }
}

// A null window would make it a message to the calling thread.
void CKSInstallerDlg::PostToWindow(UINT message) {
    if (const HWND hWnd = GetSafeHwnd())
        ::PostMessageW(hWnd, message, 0, 0);
}

void CKSInstallerDlg::OnJobResult(void* pOwner, const JobResult* pResult) {
    if (pOwner && pResult)
        static_cast<CKSInstallerDlg*>(pOwner)->HandleJobResult(*pResult);
}

void CKSInstallerDlg::HandleJobResult(const JobResult& result) {
    switch (result.nKind) {
    case JOB_PACKAGE_URL: {
        const auto* ppszUrl = static_cast<const wchar_t* const*>(result.pData);
        if (ppszUrl && *ppszUrl && **ppszUrl) {
            {
                std::lock_guard<platform::Lock> guard(m_urlLock);
                m_strPackageUrl = *ppszUrl;
            }
            PostToWindow(WM_URL_READY);
        } else {
            PostToWindow(WM_SHOW_FAILURE);
        }
        break;
    }
    case JOB_DOWNLOAD:
        // After a confirmed cancel even a completed download only ends the window.
        if (m_bCancelRequested) {
            PostToWindow(WM_END_CANCELLED);
        } else if (result.pData && result.dwStatusCode == 200) {
            PostToWindow(WM_DOWNLOAD_DONE);
        } else {
            PostToWindow(WM_SHOW_FAILURE);
            if (m_pNetManager)
                m_pNetManager->ClearAdapters();
        }
        break;
    case JOB_SERVER_TIME:
        m_logClock.TakeServerTimeReport(result.dwStatusCode, result.nResultCode,
                                        static_cast<const uint64_t*>(result.pData));
        break;
    default:
        break;
    }
}

void CKSInstallerDlg::OnDownloadProgress(void* pOwner, uint32_t, int32_t nDone, int32_t nTotal) {
    if (pOwner)
        static_cast<CKSInstallerDlg*>(pOwner)->HandleDownloadProgress(nDone, nTotal);
}

// Runs on the download's worker thread, once per read; each control call is
// a synchronous call into the window's thread, and even finding the bar costs
// a round trip to the window manager under Wine (about a quarter of the
// transfer time when it was done for every read), so only a changed position
// touches the bar.
void CKSInstallerDlg::HandleDownloadProgress(int32_t nDone, int32_t nTotal) {
    if (m_bAwaitingFirstProgress.exchange(0)) {
        HWND hProgress = Control(IDC_PROGRESS);
        SetTitle(IDS_DOWNLOADING);
        ::SendMessageW(hProgress, PBM_SETMARQUEE, FALSE, 0);
        ::SetWindowLongW(hProgress, GWL_STYLE,
                         ::GetWindowLongW(hProgress, GWL_STYLE) & ~PBS_MARQUEE);
        ::SendMessageW(hProgress, PBM_SETPOS, 0, 0);
        m_nLastPosition = 0;
        SendUsageEvent(UsageEventKind::PageView, L"Downloading", L"");
    }
    const int position = ProgressPosition(nDone, nTotal);
    if (m_nLastPosition.exchange(position) != position)
        ::SendMessageW(Control(IDC_PROGRESS), PBM_SETPOS, position, 0);
}

void CKSInstallerDlg::OnUrlReady() {
    const std::wstring folder = GetSetupFolder();
    if (folder.empty()) {
        PostToWindow(WM_SHOW_FAILURE);
        return;
    }
    m_strSetupPath = folder + L"\\KestrixOfficeSetup.exe";
    std::wstring url;
    {
        std::lock_guard<platform::Lock> guard(m_urlLock);
        url = m_strPackageUrl;
    }
    if (!m_pNetManager || m_pNetManager->StartDownloadJob(url.c_str(), m_strSetupPath.c_str()) == 0)
        PostToWindow(WM_SHOW_FAILURE);
}

void CKSInstallerDlg::OnShowFailure() {
    if (m_bCancelRequested) {
        EndDialog(IDCANCEL);
        return;
    }
    ShowView(View::Failure);
    SendUsageEvent(UsageEventKind::PageView, L"FailDownloading", L"");
}

void CKSInstallerDlg::OnRetry() {
    m_bAwaitingFirstProgress = 1;
    SendUsageEvent(UsageEventKind::ControlEvent, L"FailDownloading", L"Retry");
    ShowConnectionState();
    StartPackageUrlJob();
    platform::ShowControl(Control(IDRETRY), false);
}

void CKSInstallerDlg::OnHelpLinkClick() {
    SendUsageEvent(UsageEventKind::ControlEvent, L"FailDownloading", L"Support");
    LITEM item = {};
    item.mask = LIF_ITEMINDEX | LIF_URL;
    item.iLink = 0;
    if (!::SendMessageW(Control(IDC_HELP_LINK), LM_GETITEM, 0, reinterpret_cast<LPARAM>(&item)))
        item.szUrl[0] = L'\0';
    ::ShellExecuteW(nullptr, L"open", item.szUrl, nullptr, nullptr, SW_SHOW);
}

bool CKSInstallerDlg::OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    switch (message) {
    case WM_URL_READY:
        if (m_bConfirming)
            m_bHeldUrlReady = true;
        else
            OnUrlReady();
        return true;
    case WM_DOWNLOAD_DONE:
        if (m_bConfirming)
            m_bHeldDownloadDone = true;
        else
            OnDownloadDone();
        return true;
    case WM_SETUP_CHECKED:
        if (m_bConfirming)
            m_bHeldSetupChecked = true;
        else
            OnSetupChecked();
        return true;
    case WM_SHOW_FAILURE:
        OnShowFailure();
        return true;
    case WM_END_CANCELLED:
        EndDialog(IDCANCEL);
        return true;
    case WM_TIMER:
        if (wParam != kCancelTimer)
            return false;
        EndDialog(IDCANCEL);
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDRETRY && HIWORD(wParam) == BN_CLICKED) {
            OnRetry();
            return true;
        }
        return false;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->idFrom == IDC_HELP_LINK && header->code == NM_CLICK) {
            OnHelpLinkClick();
            result = 0;
            return true;
        }
        return false;
    }
    case WM_PAINT:
        OnPaint();
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
    case WM_CTLCOLORDLG:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORLISTBOX:
    case WM_CTLCOLORSCROLLBAR:
    case WM_CTLCOLORMSGBOX:
        result = reinterpret_cast<LRESULT>(OnCtlColor(reinterpret_cast<HDC>(wParam),
                                                      reinterpret_cast<HWND>(lParam),
                                                      message - WM_CTLCOLORMSGBOX));
        return result != 0;
    case WM_QUERYDRAGICON:
        result = reinterpret_cast<LRESULT>(m_hIcon);
        return true;
    case WM_NCDESTROY:
        // The controls are gone; from here on no job calls back into the window.
        if (m_pNetManager)
            m_pNetManager->DetachOwner();
        DiscardUnverifiedSetup();
        return false;
    }
    return false;
}
