#include "net/SetupDownload_win.h"

#include "net/HttpAdapter.h"
#include "net/HttpValues.h"
#include "net/HttpValues_win.h"
#include "net/ProgressCounts.h"
#include "platform/FileDisposition_win.h"
#include "platform/InternetHandle_win.h"

#include <cstring>
#include <string>

#if KESTRIX_TEST_HOOKS
#include "platform/TestHooks.h"
#endif

using platform::UniqueFileHandle;

namespace {

const DWORD kChunkBytes = 4096;
const DWORD kPausePollMs = 300;
const DWORD kTimeoutMs = 50000;

// Both handles of the transfer. An abort may have taken the session from the
// worker and closed it, which closes the URL handle with it: then neither is
// closed again here.
class TransferHandles {
public:
    TransferHandles(CKNHttpAdapter& adapter, HINTERNET hSession)
        : m_adapter(adapter), m_hSession(hSession) {
        m_adapter.PublishInternetHandle(hSession);
    }
    ~TransferHandles() { Close(); }
    TransferHandles(const TransferHandles&) = delete;
    TransferHandles& operator=(const TransferHandles&) = delete;

    void SetUrl(HINTERNET hUrl) { m_hUrl = hUrl; }
    HINTERNET Url() const { return m_hUrl; }
    HINTERNET Session() const { return m_hSession; }

    void Close() {
        if (m_adapter.TakeInternetHandle()) {
            if (m_hUrl)
                ::InternetCloseHandle(m_hUrl);
            ::InternetCloseHandle(m_hSession);
        }
        m_hUrl = nullptr;
    }

private:
    CKNHttpAdapter& m_adapter;
    HINTERNET m_hSession;
    HINTERNET m_hUrl = nullptr;
};

bool PathExists(const wchar_t* pszPath) {
    return std::wcslen(pszPath) < MAX_PATH &&
           ::GetFileAttributesW(pszPath) != INVALID_FILE_ATTRIBUTES;
}

void SetTimeouts(HINTERNET hSession) {
    DWORD timeout = kTimeoutMs;
    ::InternetSetOptionExW(hSession, INTERNET_OPTION_SEND_TIMEOUT, &timeout, sizeof(timeout), 0);
    ::InternetSetOptionExW(hSession, INTERNET_OPTION_RECEIVE_TIMEOUT, &timeout, sizeof(timeout), 0);
}

// Streams the body into the file, one progress report per read attempt.
// False when a write failed or fell short (a full disk): the rest of the
// body is not fetched for nothing.
bool Transfer(CKNHttpAdapter& adapter, HINTERNET hUrl, HANDLE hFile, uint64_t announced) {
    char buffer[kChunkBytes];
    INTERNET_BUFFERSW record = {};
    record.dwStructSize = sizeof(record);
    record.lpvBuffer = buffer;
    uint64_t total = 0;
    bool lastReadOk = true;
    DWORD lastLength = kChunkBytes;
    do {
        if (adapter.m_bAbort)
            break;
        if (adapter.m_bPause) {
            ::Sleep(kPausePollMs);
            continue;
        }
        std::memset(buffer, 0, sizeof(buffer));
        record.dwBufferLength = kChunkBytes;
        lastReadOk = ::InternetReadFileExW(hUrl, &record, 0, 0) != FALSE;
        lastLength = lastReadOk ? record.dwBufferLength : 0;
        if (lastReadOk) {
            DWORD written = 0;
            if (!::WriteFile(hFile, buffer, lastLength, &written, nullptr) || written != lastLength)
                return false;
            total += written;
        }
        const ProgressCounts counts = ScaleProgress(total, announced);
        adapter.NotifyProgress(counts.done, counts.total);
    } while (lastReadOk && lastLength != 0);
    return true;
}

} // namespace

void RunSetupDownload(CKNHttpAdapter& adapter, const wchar_t* pszUrl, const wchar_t* pszPath) {
    adapter.m_nKind = JOB_DOWNLOAD;
    HINTERNET hSession =
        ::InternetOpenW(L"HTTP Download", INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr, 0);
    if (!hSession) {
        adapter.NotifyComplete(nullptr);
        return;
    }
    TransferHandles handles(adapter, hSession);
    SetTimeouts(hSession);

    const std::wstring url = pszUrl ? pszUrl : L"";
    if (IsHttpOrHttpsUrl(url))
        handles.SetUrl(
            ::InternetOpenUrlW(hSession, url.c_str(), nullptr, 0, INTERNET_FLAG_RELOAD, 0));
    // An abort may have come while the URL was being opened: the setup file
    // of an earlier attempt is then left as it is.
    if (!handles.Url() || adapter.m_bAbort) {
        handles.Close();
        adapter.NotifyComplete(nullptr);
        return;
    }
    adapter.m_dwStatusCode =
        ParseStatusCode(QueryHeaderText(handles.Url(), HTTP_QUERY_STATUS_CODE).value_or(L""));
    if (adapter.m_dwStatusCode != 200) {
        handles.Close();
        adapter.NotifyComplete(nullptr);
        return;
    }
    const uint64_t announced =
        ParseContentLength(QueryHeaderText(handles.Url(), HTTP_QUERY_CONTENT_LENGTH).value_or(L""));

#if KESTRIX_TEST_HOOKS
    platform::TestHookDelay("KESTRIX_TEST_DELAY_BEFORE_FILE_MS");
#endif
    if (!pszPath || adapter.m_bAbort) {
        handles.Close();
        adapter.NotifyComplete(nullptr);
        return;
    }
    if (PathExists(pszPath))
        ::DeleteFileW(pszPath);
    bool complete = false;
    bool marked = false;
    {
        UniqueFileHandle file(::CreateFileW(pszPath, GENERIC_WRITE | DELETE, 0, nullptr,
                                            CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!file) {
            handles.Close();
            adapter.NotifyComplete(nullptr);
            return;
        }
        // Until the whole body has arrived this is no setup program: a
        // transfer that fails, is aborted or outlives the process takes the
        // file with it.
        marked = platform::SetDeleteOnClose(file.Get(), true);
        const bool written = Transfer(adapter, handles.Url(), file.Get(), announced);
        LARGE_INTEGER size = {};
        complete = written && !adapter.m_bAbort && ::GetFileSizeEx(file.Get(), &size) &&
                   static_cast<uint64_t>(size.QuadPart) == announced;
        if (complete && marked)
            complete = platform::SetDeleteOnClose(file.Get(), false);
    }
    if (!complete && !marked)
        ::DeleteFileW(pszPath);
    handles.Close();
    adapter.NotifyComplete(complete ? pszPath : nullptr);
}
