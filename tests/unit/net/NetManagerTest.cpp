#include "net/NetManager.h"

#include "tests/unit/WaitFor.h"
#include "tests/unit/net/FakeExchanges.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <mutex>
#include <new>
#include <stdexcept>
#include <thread>
#include <vector>

namespace {

// Plays the window: collects every report it receives.
struct Recorder {
    std::mutex mutex;
    std::vector<JobResult> results;
    std::atomic<int> progressCalls{0};

    static void OnComplete(void* pOwner, const JobResult* pResult) {
        auto* self = static_cast<Recorder*>(pOwner);
        std::lock_guard<std::mutex> guard(self->mutex);
        self->results.push_back(*pResult);
    }
    static void OnProgress(void* pOwner, uint32_t, int32_t, int32_t) {
        ++static_cast<Recorder*>(pOwner)->progressCalls;
    }
    size_t Count() {
        std::lock_guard<std::mutex> guard(mutex);
        return results.size();
    }
};

bool NoThread(platform::ThreadEntry, void*) {
    return false;
}

// Job threads are detached; a test is over when they have all destroyed
// their workers, which is when nobody but the test holds the exchanges.
bool AllJobsGone(const std::shared_ptr<FakeExchanges>& exchanges) {
    return WaitFor([&] { return exchanges.use_count() == 1; });
}

// A download that runs until it is aborted, publishing a session handle
// first. With pausedSeen it also waits to be paused and counts that.
void DownloadUntilAborted(CKNHttpAdapter& adapter, std::atomic<int>& running,
                          std::atomic<int>* pausedSeen = nullptr) {
    adapter.m_nKind = JOB_DOWNLOAD;
    static int sessionHandle;
    adapter.PublishInternetHandle(&sessionHandle);
    ++running;
    if (pausedSeen) {
        while (!adapter.m_bPause)
            std::this_thread::yield();
        ++*pausedSeen;
    }
    while (!adapter.m_bAbort)
        std::this_thread::yield();
    adapter.m_dwStatusCode = 200;
    if (adapter.TakeInternetHandle())
        ADD_FAILURE() << "the worker must not get a handle the abort has taken";
    adapter.NotifyComplete(nullptr);
}

class NetManagerTest : public ::testing::Test {
protected:
    Recorder recorder;
    std::shared_ptr<FakeExchanges> exchanges = std::make_shared<FakeExchanges>();
    std::unique_ptr<CKNNetManager> manager = std::make_unique<CKNNetManager>(
        &recorder, CKNNetManager::Callbacks{&Recorder::OnComplete, &Recorder::OnProgress},
        exchanges);

    void TearDown() override {
        manager.reset();
        EXPECT_TRUE(AllJobsGone(exchanges));
    }
};

} // namespace

TEST_F(NetManagerTest, EveryKindReportsOnceThenLeavesTheList) {
    exchanges->packageUrl = [](CKNHttpAdapter& adapter) {
        static const wchar_t* url = L"http://host/p.exe";
        adapter.m_nKind = JOB_PACKAGE_URL;
        adapter.m_dwStatusCode = 200;
        adapter.m_nResultCode = 0;
        adapter.NotifyComplete(&url);
    };
    std::wstring gotUrl, gotPath, gotLabel;
    exchanges->download = [&](CKNHttpAdapter& adapter, std::wstring url, std::wstring path) {
        gotUrl = url;
        gotPath = path;
        adapter.m_nKind = JOB_DOWNLOAD;
        adapter.NotifyProgress(1, 2);
        adapter.NotifyComplete(nullptr);
    };
    exchanges->upload = [&](CKNHttpAdapter& adapter, const UsageEventRecord& record) {
        gotLabel = record.el;
        adapter.m_nKind = JOB_LOG_UPLOAD;
        adapter.NotifyComplete(nullptr);
    };

    EXPECT_NE(manager->StartPackageUrlJob(), 0u);
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 1; }));
    EXPECT_NE(manager->StartDownloadJob(L"http://host/p.exe", L"C:\\p.exe"), 0u);
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 2; }));
    EXPECT_NE(manager->StartServerTimeJob(), 0u);
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 3; }));
    std::wstring label = L"Retry";
    UsageEventRecord record;
    record.el = label.c_str();
    EXPECT_NE(manager->StartLogUploadJob(record), 0u);
    label = L"changed after the hand-over";
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 4; }));
    ASSERT_TRUE(WaitFor([&] { return manager->AdapterCount() == 0; }));

    std::lock_guard<std::mutex> guard(recorder.mutex);
    EXPECT_EQ(recorder.results[0].nKind, JOB_PACKAGE_URL);
    EXPECT_EQ(recorder.results[0].nResultCode, 0);
    EXPECT_EQ(recorder.results[1].nKind, JOB_DOWNLOAD);
    EXPECT_EQ(recorder.results[1].nResultCode, -1);
    EXPECT_EQ(recorder.results[2].nKind, JOB_SERVER_TIME);
    EXPECT_EQ(recorder.results[3].nKind, JOB_LOG_UPLOAD);
    EXPECT_EQ(recorder.progressCalls, 1);
    EXPECT_EQ(gotUrl, L"http://host/p.exe");
    EXPECT_EQ(gotPath, L"C:\\p.exe");
    EXPECT_EQ(gotLabel, L"Retry");
}

TEST_F(NetManagerTest, NullTextsReachTheDownloadAsNull) {
    std::wstring gotUrl;
    exchanges->download = [&](CKNHttpAdapter& adapter, std::wstring url, std::wstring) {
        gotUrl = url;
        adapter.NotifyComplete(nullptr);
    };
    manager->StartDownloadJob(nullptr, nullptr);
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 1; }));
    EXPECT_EQ(gotUrl, L"<null>");
}

TEST_F(NetManagerTest, AThreadThatCannotStartLeavesNothingBehind) {
    manager = std::make_unique<CKNNetManager>(
        &recorder, CKNNetManager::Callbacks{&Recorder::OnComplete, &Recorder::OnProgress},
        exchanges, &NoThread);
    UsageEventRecord record;
    record.t = L"p";
    EXPECT_EQ(manager->StartPackageUrlJob(), 0u);
    EXPECT_EQ(manager->StartDownloadJob(L"http://host/p.exe", L"C:\\p.exe"), 0u);
    EXPECT_EQ(manager->StartServerTimeJob(), 0u);
    EXPECT_EQ(manager->StartLogUploadJob(record), 0u);
    EXPECT_EQ(manager->AdapterCount(), 0u);
    EXPECT_EQ(recorder.Count(), 0u);
    // The download that never ran is still the current one, and is not found.
    EXPECT_EQ(manager->AbortDownload(), 0);
}

TEST_F(NetManagerTest, PauseAndAbortWithoutADownloadFindNothing) {
    manager->PauseDownload(1);
    EXPECT_EQ(manager->AbortDownload(), 0);
    EXPECT_EQ(exchanges->closedHandles, 0);
}

TEST_F(NetManagerTest, AbortReachesTheDownloadAmongOtherJobsAndClosesItsHandleOnce) {
    std::atomic<int> running{0};
    std::atomic<bool> releaseUploads{false};
    exchanges->download = [&](CKNHttpAdapter& adapter, std::wstring, std::wstring) {
        DownloadUntilAborted(adapter, running);
    };
    exchanges->upload = [&](CKNHttpAdapter& adapter, const UsageEventRecord&) {
        adapter.m_nKind = JOB_LOG_UPLOAD;
        while (!releaseUploads)
            std::this_thread::yield();
        EXPECT_EQ(adapter.m_bAbort, 0);
        EXPECT_EQ(adapter.m_bPause, 0);
        adapter.NotifyComplete(nullptr);
    };
    UsageEventRecord record;
    // Uploads started in the same millisecond as the download share its job id.
    for (int i = 0; i < 5; ++i)
        manager->StartLogUploadJob(record);
    manager->StartDownloadJob(L"u", L"p");
    for (int i = 0; i < 5; ++i)
        manager->StartLogUploadJob(record);
    ASSERT_TRUE(WaitFor([&] { return running == 1; }));

    manager->PauseDownload(1);
    manager->PauseDownload(0);
    EXPECT_EQ(manager->AbortDownload(), 1);
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 1; }));
    EXPECT_EQ(exchanges->closedHandles, 1);
    EXPECT_EQ(recorder.results[0].nKind, JOB_DOWNLOAD);
    releaseUploads = true;
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 11; }));
    // The ended download is no longer found.
    ASSERT_TRUE(WaitFor([&] { return manager->AdapterCount() == 0; }));
    EXPECT_EQ(manager->AbortDownload(), 0);
}

TEST_F(NetManagerTest, OnlyTheLaterOfTwoDownloadsIsPausedAndAborted) {
    std::atomic<int> running{0};
    std::atomic<int> pausedSeen{0};
    exchanges->download = [&](CKNHttpAdapter& adapter, std::wstring url, std::wstring) {
        if (url == L"first") {
            adapter.m_nKind = JOB_DOWNLOAD;
            ++running;
            while (!adapter.m_bAbort && !adapter.m_bPause && running < 100)
                std::this_thread::yield();
            EXPECT_EQ(adapter.m_bAbort, 0);
            adapter.NotifyComplete(nullptr);
            return;
        }
        DownloadUntilAborted(adapter, running, &pausedSeen);
    };
    manager->StartDownloadJob(L"first", L"p");
    ASSERT_TRUE(WaitFor([&] { return running == 1; }));
    manager->StartDownloadJob(L"second", L"p");
    manager->PauseDownload(1);
    ASSERT_TRUE(WaitFor([&] { return pausedSeen == 1; }));
    EXPECT_EQ(manager->AbortDownload(), 1);
    running = 100; // lets the first one end on its own
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 2; }));
}

TEST_F(NetManagerTest, AfterClearAdaptersARunningDownloadIsOutOfReachButStillReports) {
    std::atomic<bool> finish{false};
    std::atomic<int> running{0};
    exchanges->download = [&](CKNHttpAdapter& adapter, std::wstring, std::wstring) {
        adapter.m_nKind = JOB_DOWNLOAD;
        ++running;
        while (!finish)
            std::this_thread::yield();
        EXPECT_EQ(adapter.m_bAbort, 0);
        adapter.NotifyComplete(nullptr);
    };
    manager->StartDownloadJob(L"u", L"p");
    ASSERT_TRUE(WaitFor([&] { return running == 1; }));
    manager->ClearAdapters();
    EXPECT_EQ(manager->AdapterCount(), 0u);
    manager->PauseDownload(1);
    EXPECT_EQ(manager->AbortDownload(), 0);
    finish = true;
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 1; }));
}

TEST_F(NetManagerTest, JobsEndingAfterTheManagerIsGoneTouchNeitherManagerNorOwner) {
    std::atomic<bool> finish{false};
    std::atomic<int> running{0};
    exchanges->packageUrl = [&](CKNHttpAdapter& adapter) {
        adapter.m_nKind = JOB_PACKAGE_URL;
        ++running;
        while (!finish)
            std::this_thread::yield();
        adapter.NotifyComplete(nullptr);
    };
    for (int i = 0; i < 20; ++i)
        manager->StartPackageUrlJob();
    ASSERT_TRUE(WaitFor([&] { return running == 20; }));
    manager.reset();
    finish = true;
    ASSERT_TRUE(AllJobsGone(exchanges));
    EXPECT_EQ(recorder.Count(), 0u);
}

TEST_F(NetManagerTest, AfterDetachOwnerJobsStillRunButReportToNobody) {
    manager->DetachOwner();
    EXPECT_NE(manager->StartPackageUrlJob(), 0u);
    ASSERT_TRUE(WaitFor([&] { return manager->AdapterCount() == 0; }));
    EXPECT_EQ(recorder.Count(), 0u);
}

TEST_F(NetManagerTest, DestroyingTheManagerWaitsForACallbackInProgress) {
    std::atomic<bool> inCallback{false};
    std::atomic<bool> callbackDone{false};
    struct Owner {
        std::atomic<bool>* inCallback;
        std::atomic<bool>* done;
    } owner{&inCallback, &callbackDone};
    manager = std::make_unique<CKNNetManager>(
        &owner,
        CKNNetManager::Callbacks{[](void* pOwner, const JobResult*) {
                                     auto* self = static_cast<Owner*>(pOwner);
                                     *self->inCallback = true;
                                     std::this_thread::sleep_for(std::chrono::milliseconds(50));
                                     *self->done = true;
                                 },
                                 nullptr},
        exchanges);
    manager->StartPackageUrlJob();
    ASSERT_TRUE(WaitFor([&] { return inCallback.load(); }));
    manager.reset();
    EXPECT_TRUE(callbackDone);
}

// Thousands of jobs with pause, abort and clear racing their completions, and
// a manager destroyed while many are still running. Run under TSan and ASan.
TEST_F(NetManagerTest, StressJobsAgainstPauseAbortClearAndDestruction) {
    exchanges->download = [](CKNHttpAdapter& adapter, std::wstring, std::wstring) {
        adapter.m_nKind = JOB_DOWNLOAD;
        static int sessionHandle;
        adapter.PublishInternetHandle(&sessionHandle);
        for (int i = 0; i < 20 && !adapter.m_bAbort; ++i) {
            if (adapter.m_bPause)
                std::this_thread::yield();
            adapter.NotifyProgress(i, 20);
        }
        adapter.TakeInternetHandle();
        adapter.NotifyComplete(nullptr);
    };
    UsageEventRecord record;
    record.t = L"e";
    record.el = L"Close";
    constexpr int rounds = 2000;
    for (int i = 0; i < rounds; ++i) {
        switch (i % 5) {
        case 0:
            manager->StartDownloadJob(L"http://host/p.exe", L"C:\\p.exe");
            break;
        case 1:
            manager->StartLogUploadJob(record);
            manager->PauseDownload(1);
            break;
        case 2:
            manager->StartServerTimeJob();
            manager->PauseDownload(0);
            break;
        case 3:
            manager->StartPackageUrlJob();
            manager->AbortDownload();
            break;
        case 4:
            if (i % 50 == 4)
                manager->ClearAdapters();
            break;
        }
    }
    manager.reset();
    ASSERT_TRUE(AllJobsGone(exchanges));
    // Every report made before the destruction was counted once at most.
    EXPECT_LE(recorder.Count(), static_cast<size_t>(rounds));
}

// An exception must not end the process from a worker: the job reports
// failure, once, and its thread ends as usual.
TEST_F(NetManagerTest, AJobThatThrowsReportsFailureOnce) {
    exchanges->packageUrl = [](CKNHttpAdapter&) { throw std::bad_alloc(); };
    exchanges->serverTime = [](CKNHttpAdapter& adapter) {
        adapter.m_nKind = JOB_SERVER_TIME;
        adapter.m_dwStatusCode = 200;
        adapter.NotifyComplete(nullptr);
        throw std::runtime_error("after its report");
    };
    ASSERT_NE(manager->StartPackageUrlJob(), 0u);
    ASSERT_NE(manager->StartServerTimeJob(), 0u);
    ASSERT_TRUE(WaitFor([&] { return recorder.Count() == 2 && manager->AdapterCount() == 0; }));
    std::lock_guard<std::mutex> guard(recorder.mutex);
    for (const JobResult& result : recorder.results) {
        if (result.nKind == JOB_PACKAGE_URL) {
            EXPECT_EQ(result.dwStatusCode, 0u);
            EXPECT_EQ(result.nResultCode, -1);
            EXPECT_EQ(result.pData, nullptr);
        } else {
            EXPECT_EQ(result.nKind, JOB_SERVER_TIME);
            EXPECT_EQ(result.dwStatusCode, 200u) << "reported once, before it threw";
        }
    }
}

TEST_F(NetManagerTest, TheEndWaitsForLogUploadsOnlyAndOnlySoLong) {
    EXPECT_TRUE(manager->WaitForLogUploads(0)) << "nothing in flight: no wait";

    std::atomic<int> downloads{0};
    exchanges->download = [&](CKNHttpAdapter& adapter, std::wstring, std::wstring) {
        DownloadUntilAborted(adapter, downloads);
    };
    std::atomic<bool> release{false};
    std::atomic<int> uploading{0};
    exchanges->upload = [&](CKNHttpAdapter& adapter, const UsageEventRecord&) {
        adapter.m_nKind = JOB_LOG_UPLOAD;
        ++uploading;
        while (!release)
            std::this_thread::yield();
        adapter.NotifyComplete(nullptr);
    };
    manager->StartDownloadJob(L"http://host/p.exe", L"C:\\p.exe");
    ASSERT_TRUE(WaitFor([&] { return downloads == 1; }));
    EXPECT_TRUE(manager->WaitForLogUploads(0)) << "a download is not waited for";

    UsageEventRecord record;
    manager->StartLogUploadJob(record);
    manager->StartLogUploadJob(record);
    ASSERT_TRUE(WaitFor([&] { return uploading == 2; }));
    EXPECT_FALSE(manager->WaitForLogUploads(20)) << "gives up at the limit";

    std::thread releaser([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        release = true;
    });
    EXPECT_TRUE(manager->WaitForLogUploads(60000));
    releaser.join();
    EXPECT_TRUE(release) << "returned only once both uploads had ended";
    manager->AbortDownload();
}

TEST_F(NetManagerTest, AnUploadWhoseThreadCannotStartIsNotWaitedFor) {
    manager = std::make_unique<CKNNetManager>(
        &recorder, CKNNetManager::Callbacks{&Recorder::OnComplete, &Recorder::OnProgress},
        exchanges, &NoThread);
    UsageEventRecord record;
    EXPECT_EQ(manager->StartLogUploadJob(record), 0u);
    EXPECT_TRUE(manager->WaitForLogUploads(0));
}
