#include "app/InstallerApp_win.h"

namespace {
CKSInstallerApp theApp;
}

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    theApp.InitInstance();
    return 0;
}
