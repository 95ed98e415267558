#pragma once
#include "net/NetTypes.h"
#include "platform/DialogBase_win.h"
#include "platform/Lock.h"
#include "platform/UniqueHandle_win.h"
#include "ui/ViewTable.h"
#include "usage/LogClock.h"

#include <windows.h>

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>

class CKNNetManager;
class NetExchanges;
struct SetupCheckJob;

// The two kinds of usage event: a screen shown, or a control the user operated.
enum class UsageEventKind { PageView, ControlEvent };

// Private messages, always posted with wParam and lParam 0. In the WM_APP
// range: WM_USER+1 and +2 are the dialog manager's DM_SETDEFID and
// DM_REPOSITION, which anyone may send to a dialog.
constexpr UINT WM_URL_READY = WM_APP + 1;
constexpr UINT WM_DOWNLOAD_DONE = WM_APP + 2;
constexpr UINT WM_SHOW_FAILURE = WM_APP + 3;
// Ends the window on its own thread once a cancelled download has reported.
constexpr UINT WM_END_CANCELLED = WM_APP + 4;
// The downloaded setup program's signature has been checked (on a thread of
// its own: hashing a large file would freeze the window).
constexpr UINT WM_SETUP_CHECKED = WM_APP + 5;
// Ends it when a cancelled download takes too long to report.
constexpr UINT_PTR kCancelTimer = 1;

// The installer's one window: its views and their transitions, the download
// hand-off, the close request, and the usage events of every screen and
// button. Job results and progress arrive on worker threads (OnJobResult,
// OnDownloadProgress); everything else runs on the window's thread.
class CKSInstallerDlg : public platform::DialogBase {
public:
    using InstanceCheck = BOOL (*)();

    // isAnotherInstanceRunning: the single-instance test run during start-up.
    CKSInstallerDlg(InstanceCheck isAnotherInstanceRunning,
                    std::shared_ptr<NetExchanges> exchanges);
    ~CKSInstallerDlg() override;

    // After the window has ended: lets the log uploads already under way
    // finish, at most maxMs in all, so that the last usage events arrive.
    void WaitForLogUploads(unsigned maxMs);
    // Unless the setup program was handed off, nothing the installer wrote
    // stays under its name. Also done as the window ends; called again at the
    // end of the process for a download that finished after that.
    void DiscardUnverifiedSetup();

    static void OnJobResult(void* pOwner, const JobResult* pResult);
    static void OnDownloadProgress(void* pOwner, uint32_t dwJobId, int32_t nDone, int32_t nTotal);

protected:
    BOOL OnInitDialog() override;
    void OnCancel() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    // Flow
    void ShowConnectionState();
    void ShowView(View view);
    void SetTitle(UINT stringId);
    void HandleJobResult(const JobResult& result);
    void HandleDownloadProgress(int32_t nDone, int32_t nTotal);
    void OnUrlReady();
    void OnShowFailure();
    void OnRetry();
    void OnHelpLinkClick();
    void PostToWindow(UINT message);
    void StartPackageUrlJob();

    // Hand-off
    static std::wstring GetSetupFolder();
    void OnDownloadDone();
    void OnSetupChecked();
    void Discard(SetupCheckJob& job);

    // Usage events and the log clock
    void SendUsageEvent(UsageEventKind kind, const wchar_t* screen, const wchar_t* label);
    uint64_t GetLogTime();

    // Look
    void InitDialogFont();
    void InitControls();
    void LayoutControls();
    void OnPaint();
    void PaintBackground(HDC hdc);
    HBRUSH OnCtlColor(HDC hdc, HWND hControl, UINT kind);

    std::wstring LoadText(UINT id) const;
    HWND Control(int id) const { return GetDlgItem(id); }

    HICON m_hIcon;
    LogClock m_logClock;
    std::atomic<int> m_bOffline{0};
    std::atomic<int> m_bCancelRequested{0};
    std::atomic<int> m_bAwaitingFirstProgress{1};
    std::atomic<int> m_nLastPosition{-1}; // bar position last sent, per attempt
    // While the close confirmation is open, outcomes that arrive wait until
    // it is answered: carried on after "No", dropped after "Yes".
    bool m_bConfirming = false;
    bool m_bHeldUrlReady = false;
    bool m_bHeldDownloadDone = false;
    bool m_bHeldSetupChecked = false;
    // The signature check under way, shared with its thread: whichever ends
    // last closes the file.
    std::shared_ptr<SetupCheckJob> m_pSetupCheck;
    std::wstring m_strSetupPath;
    bool m_bHandedOff = false;
    // The page views' custom object, made once: page views are sent from the
    // download's worker thread too.
    const std::wstring m_strManagerJson;
    platform::UniqueFont m_fontDialog;
    platform::UniqueBrush m_brWhite;
    std::unique_ptr<CKNNetManager> m_pNetManager;
    platform::Lock m_urlLock; // the package URL crosses from a worker to the window
    std::wstring m_strPackageUrl;
    InstanceCheck m_isAnotherInstanceRunning;
};
