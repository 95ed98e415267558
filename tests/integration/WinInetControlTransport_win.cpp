#include "tests/integration/WinInetControlTransport_win.h"

#include "platform/InternetHandle_win.h"

#include <stdexcept>

using platform::UniqueInternetHandle;

testsupport::ControlReply WinInetControlTransport(int port, const std::string& method,
                                                  const std::string& path,
                                                  const std::string& body) {
    const std::wstring verb(method.begin(), method.end());
    const std::wstring object(path.begin(), path.end());
    UniqueInternetHandle session(
        ::InternetOpenW(L"kestrix-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    UniqueInternetHandle connection(::InternetConnectW(session.Get(), L"127.0.0.1",
                                                       static_cast<INTERNET_PORT>(port), nullptr,
                                                       nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    UniqueInternetHandle request(::HttpOpenRequestW(connection.Get(), verb.c_str(), object.c_str(),
                                                    nullptr, nullptr, nullptr, INTERNET_FLAG_RELOAD,
                                                    0));
    const wchar_t headers[] = L"Content-Type: application/json";
    if (!request ||
        !::HttpSendRequestW(request.Get(), headers, static_cast<DWORD>(-1),
                            const_cast<char*>(body.data()), static_cast<DWORD>(body.size())))
        throw std::runtime_error("unreachable (error " + std::to_string(::GetLastError()) + ")");
    DWORD status = 0;
    DWORD length = sizeof(status);
    if (!::HttpQueryInfoW(request.Get(), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &status,
                          &length, nullptr))
        throw std::runtime_error("no status line in the answer");
    testsupport::ControlReply reply;
    reply.status = static_cast<int>(status);
    char buffer[8192];
    DWORD read = 0;
    while (::InternetReadFile(request.Get(), buffer, sizeof(buffer), &read) && read > 0)
        reply.body.append(buffer, read);
    return reply;
}
