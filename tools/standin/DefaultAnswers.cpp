#include "tools/standin/DefaultAnswers.h"

#include <stdexcept>

namespace standin {

namespace {

constexpr const char* kUpdatePath = "/api/1/update/pcoffice/packageurl";
constexpr const char* kLogConfPath = "/api/2/logcollect/time";
constexpr const char* kCollectorPath = "/api/2/logcollect/collector";
constexpr const char* kDefaultPackageName = "KestrixOfficeSetup.exe";
constexpr const char* kJson = "application/json";

BaseAnswer jsonAnswer(std::string body) {
    BaseAnswer answer;
    answer.contentType = kJson;
    answer.body = memoryBody(std::move(body));
    return answer;
}

// 404 for another path, 405 for another method, else empty (the caller answers).
std::optional<BaseAnswer> routeMismatch(Service service, const HttpRequest& request,
                                        const char* path, const char* method) {
    if (targetPath(request.target) != path) {
        return textAnswer(404, "the " + std::string(serviceName(service)) +
                                   " service has nothing at " + request.target);
    }
    if (request.method != method) {
        BaseAnswer answer = textAnswer(405, std::string(path) + " expects " + method);
        answer.headers.push_back(std::string("Allow: ") + method);
        return answer;
    }
    return std::nullopt;
}

} // namespace

BaseAnswer textAnswer(int status, const std::string& text) {
    BaseAnswer answer;
    answer.status = status;
    answer.contentType = "text/plain; charset=utf-8";
    answer.body = memoryBody(text + "\n");
    return answer;
}

BaseAnswer packageAnswer(const std::string& name, const StandinState& state) {
    std::optional<Package> package = state.packages.find(name);
    if (!package) {
        return textAnswer(404, "no package named " + name);
    }
    BaseAnswer answer;
    answer.contentType = "application/octet-stream";
    try {
        answer.body = openPackage(*package);
    } catch (const std::runtime_error& error) {
        return textAnswer(500, error.what());
    }
    return answer;
}

BaseAnswer defaultAnswer(Service service, const HttpRequest& request, const StandinState& state) {
    switch (service) {
    case Service::Update:
        if (auto mismatch = routeMismatch(service, request, kUpdatePath, "POST")) {
            return std::move(*mismatch);
        }
        return jsonAnswer(
            "{\"resultCode\":0,\"url\":\"http://127.0.0.1:" + std::to_string(state.ports.package) +
            kPackagesPrefix + kDefaultPackageName + "\"}");
    case Service::LogConf:
        if (auto mismatch = routeMismatch(service, request, kLogConfPath, "GET")) {
            return std::move(*mismatch);
        }
        return jsonAnswer(
            "{\"resultCode\":0,\"serverTime\":" + std::to_string(state.serverTimeMs()) + "}");
    case Service::Collector:
        if (auto mismatch = routeMismatch(service, request, kCollectorPath, "POST")) {
            return std::move(*mismatch);
        }
        return jsonAnswer("{\"resultCode\":0}");
    case Service::Package: {
        std::string path = targetPath(request.target);
        std::string prefix = kPackagesPrefix;
        if (path.compare(0, prefix.size(), prefix) != 0) {
            return textAnswer(404, "packages are served under " + prefix);
        }
        if (request.method != "GET" && request.method != "HEAD") {
            BaseAnswer answer = textAnswer(405, "packages are fetched with GET or HEAD");
            answer.headers.push_back("Allow: GET, HEAD");
            return answer;
        }
        return packageAnswer(path.substr(prefix.size()), state);
    }
    }
    return textAnswer(500, "unknown service");
}

} // namespace standin
