#include "net/JsonExchange_win.h"

#include "env/UserAgent_win.h"
#include "net/FirstLineReader.h"
#include "net/HttpAdapter.h"
#include "net/HttpValues.h"
#include "net/HttpValues_win.h"
#include "platform/InternetHandle_win.h"
#include "platform/ModuleName_win.h"

#include <json/json.h>

using platform::UniqueInternetHandle;

namespace {

std::wstring RequestHeaders() {
    return L"User-Agent: " + MakeUserAgent() + L"\r\nContent-Type: application/json";
}

uint32_t QueryStatusCode(HINTERNET hRequest, uint32_t current) {
    const std::optional<std::wstring> text = QueryHeaderText(hRequest, HTTP_QUERY_STATUS_CODE);
    return text ? ParseStatusCode(*text) : current;
}

// Reads until the first line is complete, the body ends or a read fails. A
// body that ends before its announced length was cut off: that is a failed
// read, not a short answer.
bool ReadFirstLine(HINTERNET hRequest, FirstLineReader& reader) {
    const std::optional<std::wstring> lengthText =
        QueryHeaderText(hRequest, HTTP_QUERY_CONTENT_LENGTH);
    const bool announced = lengthText.has_value();
    const uint64_t length = announced ? ParseContentLength(*lengthText) : 0;
    uint64_t received = 0;
    char buffer[4096];
    for (;;) {
        DWORD read = 0;
        if (!::InternetReadFile(hRequest, buffer, sizeof(buffer), &read))
            return false;
        if (read == 0)
            return !announced || received >= length;
        received += read;
        if (!reader.Feed(buffer, read))
            return true;
    }
}

} // namespace

std::string NullRequestBody() {
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    return Json::StyledWriter().write(Json::Value());
#pragma GCC diagnostic pop
}

ExchangeOutcome RunJsonExchange(CKNHttpAdapter& adapter, const JsonRequest& request,
                                FirstLineReader& answer) {
    const std::wstring headers = RequestHeaders();
    UniqueInternetHandle session(::InternetOpenW(platform::GetExecutableBaseName().c_str(),
                                                 INTERNET_OPEN_TYPE_PRECONFIG, nullptr, nullptr,
                                                 0));
    if (!session)
        return ExchangeOutcome::Failed;

    UniqueInternetHandle connection(::InternetConnectW(
        session.Get(), request.server->host.c_str(), request.server->port, nullptr, nullptr,
        INTERNET_SERVICE_HTTP, request.secure ? INTERNET_FLAG_SECURE : 0, 0));
    if (!connection)
        return ExchangeOutcome::Failed;
    const DWORD requestFlags =
        request.secure ? INTERNET_FLAG_SECURE : INTERNET_FLAG_EXISTING_CONNECT;
    UniqueInternetHandle hRequest(::HttpOpenRequestW(connection.Get(), request.verb, request.path,
                                                     L"HTTP/1.0", nullptr, nullptr, requestFlags,
                                                     0));
    if (!hRequest)
        return ExchangeOutcome::Failed;
    if (!::HttpSendRequestW(hRequest.Get(), headers.c_str(), static_cast<DWORD>(headers.size()),
                            const_cast<char*>(request.body.data()),
                            static_cast<DWORD>(request.body.size())))
        return ExchangeOutcome::Failed;

    adapter.m_dwStatusCode = QueryStatusCode(hRequest.Get(), adapter.m_dwStatusCode);
    if (adapter.m_dwStatusCode != 200)
        return ExchangeOutcome::NotOk;

    if (!ReadFirstLine(hRequest.Get(), answer))
        return ExchangeOutcome::Failed;
    return ExchangeOutcome::Answered;
}
