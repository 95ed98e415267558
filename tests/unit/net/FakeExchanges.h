#pragma once
#include "net/HttpAdapter.h"
#include "net/NetExchanges.h"
#include "usage/UsageEventRecord.h"

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <vector>

// Exchanges whose behaviour each test scripts. By default every exchange
// reports at once with HTTP 200 and no payload.
class FakeExchanges : public NetExchanges {
public:
    using Exchange = std::function<void(CKNHttpAdapter&)>;

    Exchange packageUrl = Report(JOB_PACKAGE_URL);
    std::function<void(CKNHttpAdapter&, std::wstring url, std::wstring path)> download =
        [](CKNHttpAdapter& adapter, std::wstring, std::wstring) {
            adapter.m_nKind = JOB_DOWNLOAD;
            adapter.NotifyComplete(nullptr);
        };
    Exchange serverTime = Report(JOB_SERVER_TIME);
    std::function<void(CKNHttpAdapter&, const UsageEventRecord&)> upload =
        [](CKNHttpAdapter& adapter, const UsageEventRecord&) {
            adapter.m_nKind = JOB_LOG_UPLOAD;
            adapter.NotifyComplete(nullptr);
        };

    std::atomic<int> closedHandles{0};

    static Exchange Report(int32_t kind) {
        return [kind](CKNHttpAdapter& adapter) {
            adapter.m_nKind = kind;
            adapter.m_dwStatusCode = 200;
            adapter.NotifyComplete(nullptr);
        };
    }

    void RequestPackageUrl(CKNHttpAdapter& adapter) override { packageUrl(adapter); }
    void DownloadFile(CKNHttpAdapter& adapter, const wchar_t* pszUrl,
                      const wchar_t* pszPath) override {
        download(adapter, pszUrl ? pszUrl : L"<null>", pszPath ? pszPath : L"<null>");
    }
    void RequestServerTime(CKNHttpAdapter& adapter) override { serverTime(adapter); }
    void UploadLog(CKNHttpAdapter& adapter, const UsageEventRecord& record) override {
        upload(adapter, record);
    }
    void CloseInternetHandle(void*) override { ++closedHandles; }
};
