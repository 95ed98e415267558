#include "net/WinInetExchanges_win.h"

#include "net/FirstLineReader.h"
#include "net/HttpAdapter.h"
#include "net/JsonExchange_win.h"
#include "net/ServiceAnswer.h"
#include "net/ServiceEndpoints.h"
#include "net/SetupDownload_win.h"
#include "usage/LogDocument_win.h"
#include "usage/Utf8.h"

#include <windows.h>

#include <wininet.h>

#include <optional>

namespace {

// Runs the exchange; the parsed first line of an HTTP 200 answer, or nothing
// after a failure or another status. An over-long line does not parse.
std::optional<ParsedAnswer> Exchange(CKNHttpAdapter& adapter, const JsonRequest& request) {
    FirstLineReader answer;
    if (RunJsonExchange(adapter, request, answer) != ExchangeOutcome::Answered)
        return std::nullopt;
    return ParseAnswerLine(answer);
}

} // namespace

void WinInetExchanges::RequestPackageUrl(CKNHttpAdapter& adapter) {
    adapter.m_nKind = JOB_PACKAGE_URL;
    const JsonRequest request{&DeployedEndpoints().update, false, L"POST",
                              L"/api/1/update/pcoffice/packageurl", NullRequestBody()};
    const std::optional<ParsedAnswer> parsed = Exchange(adapter, request);
    if (!parsed) {
        adapter.NotifyComplete(nullptr);
        return;
    }
    const PackageUrlAnswer answer = ReadPackageUrlAnswer(*parsed);
    adapter.m_nResultCode = answer.resultCode;
    const std::wstring url = Utf8ToWide(answer.urlUtf8);
    const wchar_t* pszUrl = answer.hasUrlText ? url.c_str() : nullptr;
    adapter.NotifyComplete(&pszUrl);
}

void WinInetExchanges::DownloadFile(CKNHttpAdapter& adapter, const wchar_t* pszUrl,
                                    const wchar_t* pszPath) {
    RunSetupDownload(adapter, pszUrl, pszPath);
}

void WinInetExchanges::RequestServerTime(CKNHttpAdapter& adapter) {
    adapter.m_nKind = JOB_SERVER_TIME;
    const JsonRequest request{&DeployedEndpoints().logConfig, true, L"GET",
                              L"/api/2/logcollect/time", NullRequestBody()};
    const std::optional<ParsedAnswer> parsed = Exchange(adapter, request);
    if (!parsed) {
        adapter.NotifyComplete(nullptr);
        return;
    }
    const ServerTimeAnswer answer = ReadServerTimeAnswer(*parsed);
    adapter.m_nResultCode = answer.resultCode;
    const uint64_t serverTimeMs = answer.resultCode == 0 ? answer.serverTimeMs : 0;
    adapter.NotifyComplete(&serverTimeMs);
}

void WinInetExchanges::UploadLog(CKNHttpAdapter& adapter, const UsageEventRecord& record) {
    adapter.m_nKind = JOB_LOG_UPLOAD;
    JsonRequest request{
        &DeployedEndpoints().collector, true, L"POST", L"/api/2/logcollect/collector", {}};
    BuildLogDocument(record, request.body);
    if (const std::optional<ParsedAnswer> parsed = Exchange(adapter, request))
        adapter.m_nResultCode = parsed->resultCode;
    adapter.NotifyComplete(nullptr);
}

void WinInetExchanges::CloseInternetHandle(void* hInternet) {
    ::InternetCloseHandle(static_cast<HINTERNET>(hInternet));
}
