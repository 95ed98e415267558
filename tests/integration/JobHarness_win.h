#pragma once
#include "net/NetManager.h"
#include "net/WinInetExchanges_win.h"

#include <condition_variable>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

// Plays the window for a real job manager over WinINet: copies what each
// report carries while the report lasts, as the window does.
struct JobReport {
    JobResult result{};
    bool hasData = false;
    bool hasUrlVariable = false;
    std::wstring text; // package URL or download path
    uint64_t serverTimeMs = 0;
};

class JobHarness {
public:
    JobHarness();
    ~JobHarness();

    CKNNetManager& Manager() { return *m_manager; }

    // Waits for the next completion report (generous limit; fails the test
    // when none comes).
    JobReport WaitForReport();
    int ProgressCalls();
    int32_t LastProgressDone();
    int32_t LastProgressTotal();
    // Blocks until a download has reported at least this many bytes.
    void WaitForProgress(int32_t bytes);

private:
    static void OnComplete(void* pOwner, const JobResult* pResult);
    static void OnProgress(void* pOwner, uint32_t, int32_t nDone, int32_t nTotal);

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<JobReport> m_reports;
    int m_progressCalls = 0;
    int32_t m_lastDone = 0;
    int32_t m_lastTotal = 0;
    std::unique_ptr<CKNNetManager> m_manager;
};
