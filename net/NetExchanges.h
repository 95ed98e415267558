#pragma once

class CKNHttpAdapter;
struct UsageEventRecord;

// The four network exchanges a worker can run. Each sets the worker's kind,
// does its exchange and ends with exactly one adapter.NotifyComplete call.
// The product's implementation speaks WinINet; tests substitute their own.
class NetExchanges {
public:
    virtual ~NetExchanges() = default;
    virtual void RequestPackageUrl(CKNHttpAdapter& adapter) = 0;
    virtual void DownloadFile(CKNHttpAdapter& adapter, const wchar_t* pszUrl,
                              const wchar_t* pszPath) = 0;
    virtual void RequestServerTime(CKNHttpAdapter& adapter) = 0;
    virtual void UploadLog(CKNHttpAdapter& adapter, const UsageEventRecord& record) = 0;
    // Closes a download's session handle for an abort, from the window's thread.
    virtual void CloseInternetHandle(void* hInternet) = 0;
};
