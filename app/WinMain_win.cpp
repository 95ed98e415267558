#include "app/InstallerApp_win.h"
#include "platform/ProcessHardening_win.h"

namespace {
CKSInstallerApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    platform::HardenProcess();
    theApp.InitInstance();
    return 0;
}
