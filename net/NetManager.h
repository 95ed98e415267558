#pragma once
#include "net/NetTypes.h"
#include "platform/Thread.h"

#include <atomic>
#include <cstdint>
#include <memory>

class JobRegistry;
class NetExchanges;
class OwnerLink;
struct UsageEventRecord;

// Creates network jobs, runs each on a worker thread of its own, and keeps
// the live workers so that the window can pause or abort its download. Jobs
// are never waited for: they may outlive the manager and the window, and
// then neither is touched (see OwnerLink and JobRegistry).
class CKNNetManager {
public:
    struct Callbacks {
        JobCompleteProc pfnComplete;
        JobProgressProc pfnProgress; // of downloads
    };

    CKNNetManager(void* pOwner, Callbacks callbacks, std::shared_ptr<NetExchanges> exchanges,
                  platform::ThreadStarter startThread = platform::StartDetachedThread);
    virtual ~CKNNetManager();

    // From here on no job calls back into the owner; waits for callbacks
    // running now. The owner calls it before it starts to go away.
    void DetachOwner();
    CKNNetManager(const CKNNetManager&) = delete;
    CKNNetManager& operator=(const CKNNetManager&) = delete;

    // Each returns the job id, or 0 when the job's thread could not be started.
    uint32_t StartPackageUrlJob();
    uint32_t StartDownloadJob(const wchar_t* pszUrl, const wchar_t* pszPath);
    uint32_t StartServerTimeJob();
    uint32_t StartLogUploadJob(const UsageEventRecord& record);

    // Act on the most recently started download while it is registered.
    void PauseDownload(int32_t bPause);
    int32_t AbortDownload();

    void ClearAdapters();
    size_t AdapterCount() const;

    // Waits until every log upload started so far has ended, at most maxMs;
    // true when none is left. For the end of the process, so that the last
    // usage events are not cut off with it.
    bool WaitForLogUploads(unsigned maxMs);

    static void JobThreadProc(void* pParam);

private:
    std::unique_ptr<NetJob> CreateJob(int32_t nKind, JobProgressProc pfnProgress);
    uint32_t StartJob(std::unique_ptr<NetJob> job);

    Callbacks m_callbacks;
    platform::ThreadStarter m_startThread;
    std::shared_ptr<OwnerLink> m_owner;
    std::shared_ptr<JobRegistry> m_registry;
    std::shared_ptr<NetExchanges> m_exchanges;
    // Workers are found by a serial of their own, not by job id: ids come
    // from the millisecond clock and two jobs started together share one,
    // so pause and abort could reach the wrong worker.
    uint64_t m_currentDownloadSerial = 0; // 0: no download started yet
    std::atomic<uint64_t> m_nextSerial{1};
};
