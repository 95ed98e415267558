#include "app/InstallerApp_win.h"

#include "app/InstanceGuard_win.h"
#include "net/WinInetExchanges_win.h"
#include "ui/InstallerDlg_win.h"

#include <commctrl.h>

#include <memory>

BOOL CKSInstallerApp::InitInstance() {
    INITCOMMONCONTROLSEX controls = {sizeof(INITCOMMONCONTROLSEX), ICC_WIN95_CLASSES};
    ::InitCommonControlsEx(&controls);

    CKSInstallerDlg dialog(&IsAnotherInstanceRunning, std::make_shared<WinInetExchanges>());
    dialog.DoModal();
    return FALSE;
}
