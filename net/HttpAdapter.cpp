#include "net/HttpAdapter.h"

#include "net/JobRegistry.h"
#include "net/NetExchanges.h"
#include "net/OwnerLink.h"

#include <utility>

CKNHttpAdapter::CKNHttpAdapter(Links links, uint64_t serial, uint32_t dwJobId,
                               JobCompleteProc pfnComplete, JobProgressProc pfnProgress)
    : m_dwJobId(dwJobId), m_links(std::move(links)), m_serial(serial), m_pfnComplete(pfnComplete),
      m_pfnProgress(pfnProgress) {}

// The session handle is not closed here: the download closes it itself, or
// an abort has taken it.
CKNHttpAdapter::~CKNHttpAdapter() = default;

void CKNHttpAdapter::RequestPackageUrl() {
    m_links.exchanges->RequestPackageUrl(*this);
}

void CKNHttpAdapter::DownloadFile(const wchar_t* pszUrl, const wchar_t* pszPath) {
    m_links.exchanges->DownloadFile(*this, pszUrl, pszPath);
}

void CKNHttpAdapter::RequestServerTime() {
    m_links.exchanges->RequestServerTime(*this);
}

void CKNHttpAdapter::UploadLog(const UsageEventRecord& record) {
    m_links.exchanges->UploadLog(*this, record);
}

void CKNHttpAdapter::NotifyComplete(const void* pData) {
    m_bReported = true;
    if (!m_pfnComplete)
        return;
    const JobResult result{m_nKind, m_dwJobId, m_dwStatusCode, m_nResultCode, pData};
    m_links.owner->Call([&](void* pOwner) { m_pfnComplete(pOwner, &result); });
}

void CKNHttpAdapter::NotifyProgress(int32_t nDone, int32_t nTotal) {
    if (!m_pfnProgress)
        return;
    m_links.owner->Call([&](void* pOwner) { m_pfnProgress(pOwner, m_dwJobId, nDone, nTotal); });
}

void CKNHttpAdapter::NotifyFailureUnlessReported() {
    if (m_bReported)
        return;
    m_dwStatusCode = 0;
    m_nResultCode = -1;
    NotifyComplete(nullptr);
}

void CKNHttpAdapter::Unregister() {
    m_links.registry->Remove(this);
}

void CKNHttpAdapter::EndUpload() {
    m_links.registry->UploadEnded();
}
