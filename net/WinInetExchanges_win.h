#pragma once
#include "net/NetExchanges.h"

// The product's exchanges over WinINet with the deployed vendor services.
class WinInetExchanges : public NetExchanges {
public:
    void RequestPackageUrl(CKNHttpAdapter& adapter) override;
    void DownloadFile(CKNHttpAdapter& adapter, const wchar_t* pszUrl,
                      const wchar_t* pszPath) override;
    void RequestServerTime(CKNHttpAdapter& adapter) override;
    void UploadLog(CKNHttpAdapter& adapter, const UsageEventRecord& record) override;
    void CloseInternetHandle(void* hInternet) override;
};
