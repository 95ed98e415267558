// The hand-off: where the setup program is put, and opening it once the
// download has succeeded.
#include "ui/InstallerDlg_win.h"

#include <shellapi.h>
#include <shlobj.h>

namespace {

void CreateFolderIfMissing(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        ::CreateDirectoryW(path.c_str(), nullptr);
}

} // namespace

// The roaming application-data folder plus KestrixOffice\Setup, both created
// when missing. Without an application-data folder the path starts at the
// root of the current drive.
std::wstring CKSInstallerDlg::GetSetupFolder() {
    std::wstring folder;
    WCHAR appData[MAX_PATH] = {};
    if (SUCCEEDED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)))
        folder = appData;
    folder += L"\\KestrixOffice";
    CreateFolderIfMissing(folder);
    folder += L"\\Setup";
    CreateFolderIfMissing(folder);
    return folder;
}

void CKSInstallerDlg::OnDownloadDone() {
    if (::GetFileAttributesW(m_strSetupPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        PostToWindow(WM_SHOW_FAILURE);
        return;
    }
    ::ShowWindow(GetSafeHwnd(), SW_HIDE);
    ::ShellExecuteW(nullptr, L"open", m_strSetupPath.c_str(), nullptr, nullptr, SW_SHOW);
    EndDialog(IDCANCEL);
}
