// Usage events of the window's screens and buttons, and the log clock they read.
#include "ui/InstallerDlg_win.h"

#include "net/Connectivity_win.h"
#include "net/NetManager.h"
#include "usage/UsageEventRecord.h"

// The clock is read before anything else, so even a dropped event asks for
// the server's time while none is known.
void CKSInstallerDlg::SendUsageEvent(UsageEventKind kind, const wchar_t* screen,
                                     const wchar_t* label) {
    UsageEventRecord record;
    record.timeMs = GetLogTime();
    record.v = L"1.1";
    record.dp = L"InstallManager";
    record.dt = screen;
    if (kind == UsageEventKind::PageView) {
        record.t = L"p";
        record.cobj = m_strManagerJson.c_str();
    } else {
        record.t = L"e";
        record.ec = L"ux";
        record.ea = L"cl";
        record.el = label;
    }
    if (!IsInternetConnected() || !m_pNetManager)
        return;
    m_pNetManager->StartLogUploadJob(record);
}

uint64_t CKSInstallerDlg::GetLogTime() {
    bool needsServerTime = false;
    const uint64_t timeMs = m_logClock.Read(needsServerTime);
    if (needsServerTime && m_pNetManager)
        m_pNetManager->StartServerTimeJob();
    return timeMs;
}
