#include "bench/ProductDownload_win.h"

#include "bench/RunClock_win.h"
#include "net/WinInetExchanges_win.h"

#include <thread>

ProductDownloader::ProductDownloader()
    : m_manager(std::make_unique<CKNNetManager>(
          this,
          CKNNetManager::Callbacks{&ProductDownloader::OnComplete, &ProductDownloader::OnProgress},
          std::make_shared<WinInetExchanges>())) {}

// Cuts the jobs' link to this object before its fields go.
ProductDownloader::~ProductDownloader() {
    m_manager.reset();
}

void ProductDownloader::OnComplete(void* pOwner, const JobResult* pResult) {
    auto* self = static_cast<ProductDownloader*>(pOwner);
    std::lock_guard<std::mutex> guard(self->m_mutex);
    self->m_report.arrived = true;
    self->m_report.status = pResult->dwStatusCode;
    self->m_report.hasPath = pResult->pData != nullptr;
    self->m_reported.notify_all();
}

void ProductDownloader::OnProgress(void* pOwner, uint32_t, int32_t nDone, int32_t nTotal) {
    auto* self = static_cast<ProductDownloader*>(pOwner);
    self->m_readTimes.Mark();
    self->m_progress.Take(nDone, nTotal);
}

DownloadOutcome ProductDownloader::Run(const std::wstring& url, const std::wstring& path,
                                       std::chrono::seconds limit, const WhileWaiting& waiting) {
    {
        std::lock_guard<std::mutex> guard(m_mutex);
        m_report = Report();
    }
    m_progress.Reset();
    m_readTimes.Reset();

    DownloadOutcome outcome;
    const RunClock clock;
    if (m_manager->StartDownloadJob(url.c_str(), path.c_str()) == 0) {
        outcome.failure = "the download job could not be started";
        return outcome;
    }
    Report report;
    {
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::unique_lock<std::mutex> lock(m_mutex);
        while (!m_reported.wait_for(lock, waiting.period, [this] { return m_report.arrived; }) &&
               std::chrono::steady_clock::now() < deadline) {
            lock.unlock();
            waiting.action();
            lock.lock();
        }
        report = m_report;
    }
    outcome.seconds = clock.WallSeconds();
    outcome.cpuSeconds = clock.CpuSeconds();
    outcome.progressReports = m_progress.Reports();
    outcome.firstReadSeconds = m_readTimes.FirstSince(clock.Start());
    outcome.lastReadSeconds = m_readTimes.LastSince(clock.Start());

    if (!report.arrived) {
        m_manager->AbortDownload();
        outcome.failure = "no completion report within " + std::to_string(limit.count()) + " s";
    } else if (!report.hasPath) {
        outcome.failure =
            "the job reported failure (HTTP status " + std::to_string(report.status) + ")";
    } else if (m_progress.LastPosition() != 100) {
        outcome.failure =
            "the last progress report was at " + std::to_string(m_progress.LastPosition()) + " %";
    }
    // The next run must not overlap this job's last steps. A job that outlives
    // the wait as well is left to the manager; the run has failed anyway.
    const auto waitEnd = std::chrono::steady_clock::now() + limit;
    while (m_manager->AdapterCount() != 0 && std::chrono::steady_clock::now() < waitEnd)
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    if (m_manager->AdapterCount() != 0 && outcome.failure.empty())
        outcome.failure = "the job's thread did not end";
    outcome.completed = outcome.failure.empty();
    return outcome;
}
