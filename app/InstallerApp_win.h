#pragma once
#include <windows.h>

// The application object: prepares the process, runs the installer window
// modally on the main thread and lets the process end when it closes.
class CKSInstallerApp {
public:
    // Runs the whole installer; always FALSE, so no message loop of our own
    // follows and the process ends.
    BOOL InitInstance();
};
