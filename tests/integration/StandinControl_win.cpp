#include "StandinControl_win.h"

#include "platform/InternetHandle_win.h"

#include <stdexcept>

using platform::UniqueInternetHandle;

namespace {

std::wstring Widen(const std::string& ascii) {
    return std::wstring(ascii.begin(), ascii.end());
}

std::string Base64Decode(const std::string& text) {
    static const std::string alphabet =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    uint32_t bits = 0;
    int count = 0;
    for (char c : text) {
        const size_t value = alphabet.find(c);
        if (value == std::string::npos)
            continue;
        bits = (bits << 6) | static_cast<uint32_t>(value);
        count += 6;
        if (count >= 8) {
            count -= 8;
            out.push_back(static_cast<char>((bits >> count) & 0xFF));
        }
    }
    return out;
}

} // namespace

Json::Value StandinControl::Call(const wchar_t* verb, const std::string& path,
                                 const std::string& body) {
    UniqueInternetHandle session(
        ::InternetOpenW(L"kestrix-tests", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0));
    UniqueInternetHandle connection(::InternetConnectW(session.Get(), L"127.0.0.1", 18099, nullptr,
                                                       nullptr, INTERNET_SERVICE_HTTP, 0, 0));
    UniqueInternetHandle request(::HttpOpenRequestW(connection.Get(), verb, Widen(path).c_str(),
                                                    nullptr, nullptr, nullptr, INTERNET_FLAG_RELOAD,
                                                    0));
    const wchar_t headers[] = L"Content-Type: application/json";
    if (!request ||
        !::HttpSendRequestW(request.Get(), headers, static_cast<DWORD>(-1),
                            const_cast<char*>(body.data()), static_cast<DWORD>(body.size())))
        throw std::runtime_error("stand-in control API unreachable: " + path);
    std::string answer;
    char buffer[8192];
    DWORD read = 0;
    while (::InternetReadFile(request.Get(), buffer, sizeof(buffer), &read) && read > 0)
        answer.append(buffer, read);
    Json::Value root;
    Json::Reader reader;
    if (!reader.parse(answer, root))
        throw std::runtime_error("stand-in control API answered no JSON: " + answer);
    if (root.isObject() && root.isMember("error"))
        throw std::runtime_error("stand-in control API refused " + path + ": " + answer);
    return root;
}

void StandinControl::Reset() {
    Call(L"POST", "/reset", "{}");
}

void StandinControl::Script(const std::string& service, const std::string& answersJson) {
    Call(L"POST", "/script/" + service, answersJson);
}

Json::Value StandinControl::RegisterPackage(const std::string& name, uint64_t size, uint32_t seed) {
    Json::Value request(Json::objectValue);
    request["name"] = name;
    request["size"] = Json::UInt64(size);
    request["seed"] = seed;
    return Call(L"POST", "/package", Json::writeString(Json::StreamWriterBuilder(), request));
}

Json::Value StandinControl::Requests(const std::string& service) {
    return Call(L"GET", "/requests/" + service, "");
}

std::vector<RecordedRequest> ToRecordedRequests(const Json::Value& requests) {
    std::vector<RecordedRequest> out;
    for (const Json::Value& recording : requests) {
        RecordedRequest request;
        request.requestLine = recording["request_line"].asString();
        for (const Json::Value& header : recording["headers_base64"])
            request.headers.push_back(Base64Decode(header.asString()));
        request.body = Base64Decode(recording["body_base64"].asString());
        out.push_back(request);
    }
    return out;
}
