#pragma once
#include <json/json.h>

#include <string>
#include <vector>

// The stand-in services' control API (plain HTTP on 127.0.0.1:18099), called
// with WinINet from tests running under Wine.
class StandinControl {
public:
    void Reset();
    // answers: a JSON array of scripted answers for the service.
    void Script(const std::string& service, const std::string& answersJson);
    // Registers a generated package; returns its URL, size and SHA-256.
    Json::Value RegisterPackage(const std::string& name, uint64_t size, uint32_t seed);
    Json::Value Requests(const std::string& service);

private:
    Json::Value Call(const wchar_t* verb, const std::string& path, const std::string& body);
};

// One recorded request, as the server received it.
struct RecordedRequest {
    std::string requestLine;
    std::vector<std::string> headers;
    std::string body;
};

std::vector<RecordedRequest> ToRecordedRequests(const Json::Value& requests);
