#include "net/NetManager.h"

#include "net/HttpAdapter.h"
#include "net/JobRegistry.h"
#include "net/NetExchanges.h"
#include "net/OwnerLink.h"
#include "platform/MillisecondTimer.h"
#include "usage/UsageEventRecord.h"

#include <utility>

namespace {

// Frees what the job record's payload points to, by kind.
void ReleasePayload(NetJob& job) {
    if (job.nKind == JOB_DOWNLOAD) {
        std::unique_ptr<DownloadParams> params(static_cast<DownloadParams*>(job.pPayload));
    } else if (job.nKind == JOB_LOG_UPLOAD) {
        UsageEventRecordCopy record(static_cast<UsageEventRecord*>(job.pPayload));
    }
    job.pPayload = nullptr;
}

} // namespace

CKNNetManager::CKNNetManager(void* pOwner, Callbacks callbacks,
                             std::shared_ptr<NetExchanges> exchanges,
                             platform::ThreadStarter startThread)
    : m_callbacks(callbacks), m_startThread(startThread),
      m_owner(std::make_shared<OwnerLink>(pOwner)), m_registry(std::make_shared<JobRegistry>()),
      m_exchanges(std::move(exchanges)) {}

// Running jobs are neither stopped nor waited for; cutting the owner link
// waits only for callbacks that are running right now.
CKNNetManager::~CKNNetManager() {
    DetachOwner();
    m_registry->Clear();
}

void CKNNetManager::DetachOwner() {
    m_owner->Detach();
}

std::unique_ptr<NetJob> CKNNetManager::CreateJob(int32_t nKind, JobProgressProc pfnProgress) {
    const uint32_t dwJobId = platform::MillisecondTimer();
    auto job = std::make_unique<NetJob>();
    job->nKind = nKind;
    job->dwJobId = dwJobId;
    job->pAdapter = new CKNHttpAdapter({m_owner, m_registry, m_exchanges}, m_nextSerial++, dwJobId,
                                       m_callbacks.pfnComplete, pfnProgress);
    job->pPayload = nullptr;
    m_registry->Add(job->pAdapter);
    return job;
}

uint32_t CKNNetManager::StartJob(std::unique_ptr<NetJob> job) {
    const uint32_t dwJobId = job->dwJobId;
    if (m_startThread(&CKNNetManager::JobThreadProc, job.get())) {
        job.release(); // the thread owns the record, its payload and its worker now
        return dwJobId;
    }
    ReleasePayload(*job);
    std::unique_ptr<CKNHttpAdapter> adapter(job->pAdapter);
    adapter->Unregister();
    return 0;
}

uint32_t CKNNetManager::StartPackageUrlJob() {
    return StartJob(CreateJob(JOB_PACKAGE_URL, nullptr));
}

uint32_t CKNNetManager::StartDownloadJob(const wchar_t* pszUrl, const wchar_t* pszPath) {
    auto job = CreateJob(JOB_DOWNLOAD, m_callbacks.pfnProgress);
    job->pPayload = new DownloadParams{DownloadParams::Copy(pszUrl), DownloadParams::Copy(pszPath)};
    m_currentDownloadSerial = job->pAdapter->Serial();
    return StartJob(std::move(job));
}

uint32_t CKNNetManager::StartServerTimeJob() {
    return StartJob(CreateJob(JOB_SERVER_TIME, nullptr));
}

uint32_t CKNNetManager::StartLogUploadJob(const UsageEventRecord& record) {
    auto job = CreateJob(JOB_LOG_UPLOAD, nullptr);
    job->pPayload = CopyUsageEventRecord(&record);
    m_registry->UploadStarted();
    const uint32_t dwJobId = StartJob(std::move(job));
    if (dwJobId == 0)
        m_registry->UploadEnded();
    return dwJobId;
}

void CKNNetManager::PauseDownload(int32_t bPause) {
    m_registry->WithWorker(m_currentDownloadSerial,
                           [&](CKNHttpAdapter& adapter) { adapter.m_bPause = bPause; });
}

int32_t CKNNetManager::AbortDownload() {
    void* hInternet = nullptr;
    const bool found =
        m_registry->WithWorker(m_currentDownloadSerial, [&](CKNHttpAdapter& adapter) {
            // The handle first, so that a worker that sees the flag finds it taken.
            hInternet = adapter.TakeInternetHandle();
            adapter.m_bAbort = 1;
        });
    // Closed outside the lock: closing wakes the worker's blocked read, and the
    // worker, finding the handle taken, does not close it again.
    if (hInternet)
        m_exchanges->CloseInternetHandle(hInternet);
    return found ? 1 : 0;
}

void CKNNetManager::ClearAdapters() {
    m_registry->Clear();
}

size_t CKNNetManager::AdapterCount() const {
    return m_registry->Count();
}

bool CKNNetManager::WaitForLogUploads(unsigned maxMs) {
    const uint32_t start = platform::MillisecondTimer();
    while (m_registry->UploadsInFlight() != 0) {
        if (platform::MillisecondTimer() - start >= maxMs)
            return false;
        platform::SleepMilliseconds(10);
    }
    return true;
}

namespace {

void RunJob(NetJob& job, CKNHttpAdapter& adapter) {
    switch (job.nKind) {
    case JOB_PACKAGE_URL:
        adapter.RequestPackageUrl();
        break;
    case JOB_DOWNLOAD: {
        const auto* params = static_cast<const DownloadParams*>(job.pPayload);
        adapter.DownloadFile(params->Url(), params->Path());
        break;
    }
    case JOB_SERVER_TIME:
        adapter.RequestServerTime();
        break;
    case JOB_LOG_UPLOAD:
        adapter.UploadLog(*static_cast<const UsageEventRecord*>(job.pPayload));
        break;
    }
}

} // namespace

// No exception leaves the thread (it would end the process): a job that
// throws reports failure, once, unless it has reported already.
void CKNNetManager::JobThreadProc(void* pParam) {
    std::unique_ptr<NetJob> job(static_cast<NetJob*>(pParam));
    std::unique_ptr<CKNHttpAdapter> adapter(job->pAdapter);
    adapter->m_nKind = job->nKind;
    try {
        RunJob(*job, *adapter);
    } catch (...) {
        try {
            adapter->NotifyFailureUnlessReported();
        } catch (...) {
            // The report itself failed; there is no one else to tell.
        }
    }
    ReleasePayload(*job);
    if (job->nKind == JOB_LOG_UPLOAD)
        adapter->EndUpload();
    adapter->Unregister();
}
