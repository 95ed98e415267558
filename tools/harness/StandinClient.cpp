#include "tools/harness/StandinClient.h"

#include <stdexcept>
#include <thread>

#include "tools/standin/Base64.h"
#include "tools/standin/JsonText.h"

namespace testsupport {

namespace {

std::string decoded(const Json::Value& value) {
    std::optional<std::string> bytes =
        value.isString() ? standin::base64Decode(value.asString()) : std::nullopt;
    if (!bytes) {
        throw std::runtime_error("the stand-in sent a field that is not base64");
    }
    return *bytes;
}

// A JSON member and the field it is read into.
template <typename T> struct Field {
    const char* name;
    T& value;
};
template <typename T> Field(const char*, T&) -> Field<T>;

// Reads each member of `object` into its field, converted to the field's
// type; a missing member reads as 0, false or "".
template <typename... T> void readFields(const Json::Value& object, Field<T>... fields) {
    ((fields.value = object[fields.name].template as<T>()), ...);
}

StandinRequest requestFromJson(const Json::Value& value) {
    StandinRequest request;
    readFields(value, Field{"id", request.id}, Field{"service", request.service},
               Field{"received_ms", request.receivedMs}, Field{"tls", request.tls},
               Field{"peer", request.peer}, Field{"method", request.method},
               Field{"version", request.version}, Field{"error", request.error},
               Field{"response_status", request.responseStatus},
               Field{"body_bytes_sent", request.bodyBytesSent}, Field{"outcome", request.outcome});
    for (const Json::Value& line : value["headers_base64"]) {
        request.headers.push_back(decoded(line));
    }
    request.body = decoded(value["body_base64"]);
    request.raw = decoded(value["raw_base64"]);
    request.requestLine = decoded(value["request_line_base64"]);
    std::size_t firstSpace = request.requestLine.find(' ');
    std::size_t lastSpace = request.requestLine.rfind(' ');
    if (firstSpace != std::string::npos && lastSpace > firstSpace) {
        request.target = request.requestLine.substr(firstSpace + 1, lastSpace - firstSpace - 1);
    }
    return request;
}

const char* certificateName(StandinCertificate certificate) {
    switch (certificate) {
    case StandinCertificate::Untrusted:
        return "untrusted";
    case StandinCertificate::WrongHost:
        return "wrong-host";
    case StandinCertificate::Trusted:
        break;
    }
    return "trusted";
}

StandinPackage packageFromJson(const Json::Value& value) {
    StandinPackage package;
    readFields(value, Field{"name", package.name}, Field{"size", package.size},
               Field{"sha256", package.sha256}, Field{"url", package.url});
    return package;
}

} // namespace

StandinClient::StandinClient(ControlTransport transport, int controlPort)
    : transport_(transport), controlPort_(controlPort) {}

Json::Value StandinClient::call(const std::string& method, const std::string& path,
                                const Json::Value* body) const {
    const std::string where = method + " " + path + " on the stand-in (control port " +
                              std::to_string(controlPort_) + ")";
    ControlReply reply;
    try {
        reply =
            transport_(controlPort_, method, path,
                       method == "GET" ? std::string() : (body ? standin::writeJson(*body) : "{}"));
    } catch (const std::runtime_error& error) {
        throw std::runtime_error(where + ": " + error.what());
    }
    std::string error;
    std::optional<Json::Value> answer = standin::parseJson(reply.body, error);
    if (reply.status != 200) {
        std::string message =
            answer && answer->isObject() ? answer->get("error", "").asString() : reply.body;
        throw std::runtime_error(where + ": " + std::to_string(reply.status) + " " + message);
    }
    if (!answer) {
        throw std::runtime_error(where + ": the answer is not JSON: " + error);
    }
    return *answer;
}

bool StandinClient::ready() const {
    try {
        return call("GET", "/ready", nullptr)["ready"].asBool();
    } catch (const std::exception&) {
        return false;
    }
}

StandinPorts StandinClient::ports() const {
    StandinPorts out;
    readFields(call("GET", "/ready", nullptr)["ports"], Field{"update", out.update},
               Field{"package", out.package}, Field{"logconf", out.logConf},
               Field{"collector", out.collector}, Field{"control", out.control});
    return out;
}

void StandinClient::reset() const {
    call("POST", "/reset", nullptr);
}

void StandinClient::script(const std::string& service, const std::vector<StandinAnswer>& answers,
                           bool thenDefault) const {
    Json::Value document(Json::objectValue);
    document["answers"] = Json::Value(Json::arrayValue);
    for (const StandinAnswer& answer : answers) {
        document["answers"].append(answer.toJson());
    }
    document["then"] = thenDefault ? "default" : "repeat";
    script(service, document);
}

void StandinClient::script(const std::string& service, const Json::Value& document) const {
    call("POST", "/script/" + service, &document);
}

StandinPackage StandinClient::registerPackageFile(const std::string& name,
                                                  const std::string& path) const {
    Json::Value body(Json::objectValue);
    body["name"] = name;
    body["file"] = path;
    return packageFromJson(call("POST", "/package", &body));
}

StandinPackage StandinClient::registerGeneratedPackage(const std::string& name, std::uint64_t size,
                                                       std::uint64_t seed) const {
    Json::Value body(Json::objectValue);
    body["name"] = name;
    body["size"] = Json::UInt64(size);
    body["seed"] = Json::UInt64(seed);
    return packageFromJson(call("POST", "/package", &body));
}

std::vector<StandinRequest> StandinClient::requests(const std::string& service) const {
    Json::Value list = call("GET", service.empty() ? "/requests" : "/requests/" + service, nullptr);
    std::vector<StandinRequest> out;
    for (const Json::Value& value : list) {
        out.push_back(requestFromJson(value));
    }
    return out;
}

std::vector<StandinRequest>
StandinClient::waitForRequests(const std::string& service, std::size_t count,
                               std::chrono::milliseconds timeout) const {
    auto deadline = std::chrono::steady_clock::now() + timeout;
    std::vector<StandinRequest> found = requests(service);
    while (found.size() < count && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        found = requests(service);
    }
    return found;
}

void StandinClient::setServerTime(std::int64_t ms) const {
    Json::Value body(Json::objectValue);
    body["serverTime"] = Json::Int64(ms);
    call("POST", "/time", &body);
}

void StandinClient::setServiceDown(const std::string& service, bool down) const {
    call("POST", (down ? "/down/" : "/up/") + service, nullptr);
}

void StandinClient::setCertificate(const std::string& service,
                                   StandinCertificate certificate) const {
    Json::Value body(Json::objectValue);
    body["certificate"] = certificateName(certificate);
    call("POST", "/certificate/" + service, &body);
}

} // namespace testsupport
