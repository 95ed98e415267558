#include "app/InstallerApp_win.h"

#include "app/InstanceGuard_win.h"
#include "net/WinInetExchanges_win.h"
#include "ui/InstallerDlg_win.h"

#include <commctrl.h>

#include <memory>

namespace {
const unsigned kLastUploadsWaitMs = 2000;
}

BOOL CKSInstallerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    CKSInstallerDlg dialog(&IsAnotherInstanceRunning, std::make_shared<WinInetExchanges>());
    dialog.DoModal();
    // The process ends under whatever still runs; the usage events of the
    // last moments (a confirmed cancel, the close) get a little time to go.
    dialog.WaitForLogUploads(kLastUploadsWaitMs);
    dialog.DiscardUnverifiedSetup();
    return FALSE;
}
