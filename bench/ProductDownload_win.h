#pragma once
#include "bench/DownloadOutcome.h"
#include "bench/ProgressSink.h"
#include "bench/ReadTimes.h"
#include "net/NetManager.h"

#include <chrono>
#include <condition_variable>
#include <memory>
#include <mutex>

// The product's download: a real job manager over the product's WinINet
// exchanges, with a progress callback doing what the window's does short of
// drawing (the bar position, remembered) and a completion callback that
// records the outcome and wakes the waiting thread.
class ProductDownloader {
public:
    ProductDownloader();
    ~ProductDownloader();
    ProductDownloader(const ProductDownloader&) = delete;
    ProductDownloader& operator=(const ProductDownloader&) = delete;

    // Starts one download job and waits for its completion report (at most
    // the limit), then for its thread to leave, outside the timing.
    DownloadOutcome Run(const std::wstring& url, const std::wstring& path,
                        std::chrono::seconds limit, const WhileWaiting& waiting);

private:
    struct Report {
        bool arrived = false;
        uint32_t status = 0;
        bool hasPath = false;
    };

    static void OnComplete(void* pOwner, const JobResult* pResult);
    static void OnProgress(void* pOwner, uint32_t dwJobId, int32_t nDone, int32_t nTotal);

    std::mutex m_mutex;
    std::condition_variable m_reported;
    Report m_report;
    ProgressSink m_progress;
    ReadTimes m_readTimes;                    // each progress report follows one read attempt
    std::unique_ptr<CKNNetManager> m_manager; // last: its jobs call into the fields above
};
