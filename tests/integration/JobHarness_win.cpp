#include "tests/integration/JobHarness_win.h"

#include <gtest/gtest.h>

#include <chrono>

namespace {
const auto kReportLimit = std::chrono::seconds(120);
}

JobHarness::JobHarness()
    : m_manager(std::make_unique<CKNNetManager>(
          this, CKNNetManager::Callbacks{&JobHarness::OnComplete, &JobHarness::OnProgress},
          std::make_shared<WinInetExchanges>())) {}

JobHarness::~JobHarness() {
    m_manager.reset();
}

void JobHarness::OnComplete(void* pOwner, const JobResult* pResult) {
    auto* self = static_cast<JobHarness*>(pOwner);
    JobReport report;
    report.result = *pResult;
    report.hasData = pResult->pData != nullptr;
    if (pResult->pData) {
        switch (pResult->nKind) {
        case JOB_PACKAGE_URL: {
            const auto* pUrl = *static_cast<const wchar_t* const*>(pResult->pData);
            report.hasUrlVariable = pUrl != nullptr;
            if (pUrl)
                report.text = pUrl;
            break;
        }
        case JOB_DOWNLOAD:
            report.text = static_cast<const wchar_t*>(pResult->pData);
            break;
        case JOB_SERVER_TIME:
            report.serverTimeMs = *static_cast<const uint64_t*>(pResult->pData);
            break;
        }
    }
    std::lock_guard<std::mutex> guard(self->m_mutex);
    self->m_reports.push_back(report);
    self->m_changed.notify_all();
}

void JobHarness::OnProgress(void* pOwner, uint32_t, int32_t nDone, int32_t nTotal) {
    auto* self = static_cast<JobHarness*>(pOwner);
    std::lock_guard<std::mutex> guard(self->m_mutex);
    ++self->m_progressCalls;
    self->m_lastDone = nDone;
    self->m_lastTotal = nTotal;
    self->m_changed.notify_all();
}

JobReport JobHarness::WaitForReport() {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_changed.wait_for(lock, kReportLimit, [this] { return !m_reports.empty(); })) {
        ADD_FAILURE() << "no completion report";
        return {};
    }
    JobReport report = m_reports.front();
    m_reports.erase(m_reports.begin());
    return report;
}

void JobHarness::WaitForProgress(int32_t bytes) {
    std::unique_lock<std::mutex> lock(m_mutex);
    if (!m_changed.wait_for(lock, kReportLimit, [&] { return m_lastDone >= bytes; }))
        ADD_FAILURE() << "the download did not reach " << bytes << " bytes";
}

int JobHarness::ProgressCalls() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_progressCalls;
}

int32_t JobHarness::LastProgressDone() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_lastDone;
}

int32_t JobHarness::LastProgressTotal() {
    std::lock_guard<std::mutex> guard(m_mutex);
    return m_lastTotal;
}
