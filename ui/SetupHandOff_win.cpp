// The hand-off: where the setup program is put, and opening it once the
// download has succeeded and its signature shows it comes from the vendor.
#include "ui/InstallerDlg_win.h"

#include "net/ServiceEndpoints.h"
#include "platform/FileDisposition_win.h"
#include "platform/SignatureCheck_win.h"
#include "platform/Thread.h"
#include "platform/UniqueHandle_win.h"

#include <shellapi.h>
#include <shlobj.h>

#include <atomic>
#include <memory>

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
// check, or that the window leaves without handing it off, is marked through
// that handle to go when it is closed (by whichever of the window and the
// checking thread lets go last, or by the end of the process), so that nobody
// opens it by hand either.
struct SetupCheckJob {
    platform::UniqueFileHandle file;
    std::wstring path;
    HWND window = nullptr;            // told WM_SETUP_CHECKED when done
    std::atomic<bool> trusted{false}; // set by the checking thread before it tells
};

namespace {

void CheckSetup(SetupCheckJob& job) {
#if KESTRIX_TEST_HOOKS
    platform::TestHookDelay("KESTRIX_TEST_DELAY_SIGNATURE_CHECK_MS");
#endif
    const platform::SignatureFacts facts =
        platform::ReadSignature(job.file.Get(), job.path.c_str());
    job.trusted = platform::JudgeSignature(facts, ExpectedSetupSigner()) ==
                  platform::SignatureVerdict::Trusted;
}

// The thread owns one share of the job, handed over through its parameter.
void CheckSetupThread(void* pParam) {
    const std::unique_ptr<std::shared_ptr<SetupCheckJob>> job(
        static_cast<std::shared_ptr<SetupCheckJob>*>(pParam));
    CheckSetup(**job);
    ::PostMessageW((*job)->window, WM_SETUP_CHECKED, 0, 0);
}

} // namespace

void CKSInstallerDlg::OnDownloadDone() {
    if (m_bCancelRequested) {
        EndDialog(IDCANCEL);
        return;
    }
    auto job = std::make_shared<SetupCheckJob>();
    job->file.Reset(::CreateFileW(m_strSetupPath.c_str(), GENERIC_READ | DELETE, FILE_SHARE_READ,
                                  nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!job->file) {
        // Unchecked, it must not stay; if someone holds it, the end of the
        // window tries again.
        ::DeleteFileW(m_strSetupPath.c_str());
        PostToWindow(WM_SHOW_FAILURE);
        return;
    }
    job->path = m_strSetupPath;
    job->window = GetSafeHwnd();
    m_pSetupCheck = job;
    auto threadShare = std::make_unique<std::shared_ptr<SetupCheckJob>>(job);
    if (platform::StartDetachedThread(&CheckSetupThread, threadShare.get())) {
        threadShare.release();
        return;
    }
    // No thread to be had: check here, the window waiting meanwhile.
    CheckSetup(*job);
    PostToWindow(WM_SETUP_CHECKED);
}

void CKSInstallerDlg::OnSetupChecked() {
    const std::shared_ptr<SetupCheckJob> job = std::move(m_pSetupCheck);
    if (!job)
        return;
    if (m_bCancelRequested || !job->trusted) {
        Discard(*job);
        if (m_bCancelRequested)
            EndDialog(IDCANCEL);
        else
            PostToWindow(WM_SHOW_FAILURE);
        return;
    }
    ::ShowWindow(GetSafeHwnd(), SW_HIDE);
    m_bHandedOff = true;
    const std::wstring folder = FolderOf(m_strSetupPath);
    ::ShellExecuteW(nullptr, L"open", m_strSetupPath.c_str(), nullptr, folder.c_str(), SW_SHOW);
    job->file.Reset();
    EndDialog(IDCANCEL);
}

void CKSInstallerDlg::Discard(SetupCheckJob& job) {
    if (!platform::SetDeleteOnClose(job.file.Get(), true)) {
        job.file.Reset();
        ::DeleteFileW(job.path.c_str());
    }
}

// What the installer downloaded goes unless it was handed off: a check still
// running takes the file with it when it lets go; a finished download that
// was never checked is deleted (a download still writing has marked its
// file itself).
void CKSInstallerDlg::DiscardUnverifiedSetup() {
    if (m_bHandedOff || m_strSetupPath.empty())
        return;
    if (m_pSetupCheck)
        Discard(*m_pSetupCheck);
    else
        ::DeleteFileW(m_strSetupPath.c_str());
}
