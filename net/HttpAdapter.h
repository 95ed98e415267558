#pragma once
#include "net/NetTypes.h"

#include <atomic>
#include <cstdint>
#include <memory>

class JobRegistry;
class NetExchanges;
class OwnerLink;
struct UsageEventRecord;

// The worker of one job: runs exactly one exchange on the job's thread and
// reports it through the callbacks. The user-interface thread reaches it only
// through the manager, under the manager's lock (pause, abort).
class CKNHttpAdapter {
public:
    struct Links {
        std::shared_ptr<OwnerLink> owner;
        std::shared_ptr<JobRegistry> registry;
        std::shared_ptr<NetExchanges> exchanges;
    };
    CKNHttpAdapter(Links links, uint64_t serial, uint32_t dwJobId, JobCompleteProc pfnComplete,
                   JobProgressProc pfnProgress);
    virtual ~CKNHttpAdapter();
    CKNHttpAdapter(const CKNHttpAdapter&) = delete;
    CKNHttpAdapter& operator=(const CKNHttpAdapter&) = delete;

    void RequestPackageUrl();
    void DownloadFile(const wchar_t* pszUrl, const wchar_t* pszPath);
    void RequestServerTime();
    void UploadLog(const UsageEventRecord& record);

    // Completion report from the worker's own fields; nothing when no callback.
    void NotifyComplete(const void* pData);
    // A failure report, unless the job has reported already: for a job that
    // ended by an exception.
    void NotifyFailureUnlessReported();
    // Progress report of a download; nothing when no callback.
    void NotifyProgress(int32_t nDone, int32_t nTotal);

    // Publishes the session handle of a running download so that an abort can
    // close it. Exactly one side closes it: whoever takes it first.
    void PublishInternetHandle(void* hInternet) { m_hInternet.store(hInternet); }
    void* TakeInternetHandle() { return m_hInternet.exchange(nullptr); }

    // Leaves the list of live workers; called by the job thread before it
    // destroys the worker.
    void Unregister();
    // Counts a log upload's job as ended.
    void EndUpload();

    uint64_t Serial() const { return m_serial; }

    std::atomic<int32_t> m_bPause{0};
    std::atomic<int32_t> m_bAbort{0};
    int32_t m_nKind = 0;
    uint32_t m_dwJobId;
    int32_t m_nResultCode = -1;
    uint32_t m_dwStatusCode = 0;

private:
    Links m_links;
    const uint64_t m_serial;
    JobCompleteProc m_pfnComplete;
    JobProgressProc m_pfnProgress;
    std::atomic<void*> m_hInternet{nullptr};
    bool m_bReported = false; // the job's own thread only
};
