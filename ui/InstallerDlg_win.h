#pragma once
#include "platform/DialogBase_win.h"

#include <windows.h>

// The installer's one window, a modal dialog created from template 102.
class CKSInstallerDlg : public platform::DialogBase {
public:
    using InstanceCheck = BOOL (*)();

    // isAnotherInstanceRunning: the single-instance test run during start-up.
    explicit CKSInstallerDlg(InstanceCheck isAnotherInstanceRunning);

protected:
    BOOL OnInitDialog() override;
    bool OnMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) override;

private:
    void ShowConnectionState();
    void SetTitle(UINT stringId);

    HICON m_hIcon;
    int m_bOffline = 0;
    InstanceCheck m_isAnotherInstanceRunning;
};
