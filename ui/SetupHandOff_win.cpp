// The hand-off: where the setup program is put, and opening it once the
// download has succeeded and its signature shows it comes from the vendor.
#include "ui/InstallerDlg_win.h"

#include "net/ServiceEndpoints.h"
#include "platform/SignatureCheck_win.h"
#include "platform/UniqueHandle_win.h"

#include <shellapi.h>
#include <shlobj.h>

#if KESTRIX_TEST_HOOKS
#include "platform/TestHooks.h"
#endif

namespace {

void CreateFolderIfMissing(const std::wstring& path) {
    if (::GetFileAttributesW(path.c_str()) == INVALID_FILE_ATTRIBUTES)
        ::CreateDirectoryW(path.c_str(), nullptr);
}

bool FindAppDataFolder(std::wstring& folder) {
#if KESTRIX_TEST_HOOKS
    if (platform::TestHookEnabled("KESTRIX_TEST_NO_APPDATA"))
        return false;
#endif
    WCHAR appData[MAX_PATH] = {};
    if (FAILED(::SHGetFolderPathW(nullptr, CSIDL_APPDATA, nullptr, SHGFP_TYPE_CURRENT, appData)) ||
        !appData[0])
        return false;
    folder = appData;
    return true;
}

std::wstring FolderOf(const std::wstring& path) {
    return path.substr(0, path.find_last_of(L'\\'));
}

} // namespace

// The roaming application-data folder plus KestrixOffice\Setup, both created
// when missing. Empty when there is no application-data folder: a folder at
// the root of the current drive is no place to put a program and run it.
std::wstring CKSInstallerDlg::GetSetupFolder() {
    std::wstring folder;
    if (!FindAppDataFolder(folder))
        return {};
    folder += L"\\KestrixOffice";
    CreateFolderIfMissing(folder);
    folder += L"\\Setup";
    CreateFolderIfMissing(folder);
    return folder;
}

// The file stays open, readable and executable by others but neither
// writable nor deletable, from the signature check until the setup program
// has started, so that what runs is what was checked. A file that fails the
// check is removed, so that nobody opens it by hand either.
void CKSInstallerDlg::OnDownloadDone() {
    if (m_bCancelRequested) {
        EndDialog(IDCANCEL);
        return;
    }
    platform::UniqueFileHandle setup(::CreateFileW(m_strSetupPath.c_str(), GENERIC_READ,
                                                   FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                                   FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!setup) {
        PostToWindow(WM_SHOW_FAILURE);
        return;
    }
    const platform::SignatureFacts facts =
        platform::ReadSignature(setup.Get(), m_strSetupPath.c_str());
    if (platform::JudgeSignature(facts, ExpectedSetupSigner()) !=
        platform::SignatureVerdict::Trusted) {
        setup.Reset();
        ::DeleteFileW(m_strSetupPath.c_str());
        PostToWindow(WM_SHOW_FAILURE);
        return;
    }
    ::ShowWindow(GetSafeHwnd(), SW_HIDE);
    const std::wstring folder = FolderOf(m_strSetupPath);
    ::ShellExecuteW(nullptr, L"open", m_strSetupPath.c_str(), nullptr, folder.c_str(), SW_SHOW);
    setup.Reset();
    EndDialog(IDCANCEL);
}
