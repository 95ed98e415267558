#include "tools/standin/ControlApi.h"

#include <stdexcept>

#include "tools/standin/DefaultAnswers.h"
#include "tools/standin/JsonText.h"
#include "tools/standin/Log.h"
#include "tools/standin/RecordingJson.h"
#include "tools/standin/ScriptJson.h"
#include "tools/standin/Utf8.h"

namespace standin {

namespace {

// Errors the caller made; they become 400 answers.
class BadRequest : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

void reply(httplib::Response& response, const Json::Value& value, int status = 200) {
    response.status = status;
    response.set_content(writeJson(value) + "\n", "application/json");
}

void replyError(httplib::Response& response, int status, const std::string& message) {
    Json::Value error(Json::objectValue);
    error["error"] = textFromBytes(message);
    reply(response, error, status);
}

Json::Value bodyJson(const httplib::Request& request) {
    std::string error;
    std::optional<Json::Value> value = parseJson(request.body, error);
    if (!value) {
        throw BadRequest("the body is not JSON: " + error);
    }
    return *value;
}

Service serviceParameter(const httplib::Request& request) {
    std::string name = request.matches[1];
    std::optional<Service> service = serviceFromName(name);
    if (!service) {
        throw BadRequest("no service \"" + name + "\" (update, package, logconf, collector)");
    }
    return *service;
}

Package registerPackage(const Json::Value& body) {
    if (!body.isObject() || !body["name"].isString()) {
        throw BadRequest("expected {\"name\": ..., \"file\": ...} or "
                         "{\"name\": ..., \"size\": ..., \"seed\": ...}");
    }
    for (const std::string& field : body.getMemberNames()) {
        if (field != "name" && field != "file" && field != "size" && field != "seed") {
            throw BadRequest("\"" + field + "\": unknown package setting");
        }
    }
    std::string name = body["name"].asString();
    bool file = body.isMember("file");
    if (file == body.isMember("size") || (file && body.isMember("seed"))) {
        throw BadRequest("give either \"file\" or \"size\" (with an optional \"seed\")");
    }
    try {
        if (file) {
            if (!body["file"].isString() || body["file"].asString().rfind('/', 0) != 0) {
                throw BadRequest("\"file\": expected an absolute path");
            }
            return describeFilePackage(name, body["file"].asString());
        }
        if (!body["size"].isUInt64() || (body.isMember("seed") && !body["seed"].isUInt64())) {
            throw BadRequest("\"size\" and \"seed\": expected non-negative integers");
        }
        return describeGeneratedPackage(name, body["size"].asUInt64(),
                                        body.get("seed", 0).asUInt64());
    } catch (const std::invalid_argument& error) {
        throw BadRequest(error.what());
    } catch (const BadRequest&) {
        throw;
    } catch (const std::runtime_error& error) {
        throw BadRequest(error.what());
    }
}

// Runs a handler, turning the caller's mistakes into 400 answers.
httplib::Server::Handler
guarded(std::function<void(const httplib::Request&, httplib::Response&)> handler) {
    return [handler = std::move(handler)](const httplib::Request& request,
                                          httplib::Response& response) {
        try {
            handler(request, response);
        } catch (const BadRequest& error) {
            replyError(response, 400, error.what());
        } catch (const ScriptError& error) {
            replyError(response, 400, error.what());
        } catch (const std::exception& error) {
            logLine(std::string("control API: ") + error.what());
            replyError(response, 500, error.what());
        }
    };
}

} // namespace

Json::Value portsJson(const Ports& ports) {
    Json::Value out(Json::objectValue);
    out["update"] = ports.update;
    out["package"] = ports.package;
    out["logconf"] = ports.logConf;
    out["collector"] = ports.collector;
    out["control"] = ports.control;
    return out;
}

ControlApi::ControlApi(StandinState& state, ServiceListeners& listeners)
    : state_(state), listeners_(listeners) {
    route();
}

ControlApi::~ControlApi() {
    stop();
}

void ControlApi::bind(int port) {
    int bound = port == 0 ? server_.bind_to_any_port("127.0.0.1")
                          : (server_.bind_to_port("127.0.0.1", port) ? port : -1);
    if (bound <= 0) {
        throw std::runtime_error("cannot listen on 127.0.0.1 port " + std::to_string(port) +
                                 " for the control API");
    }
    state_.ports.control = bound;
}

void ControlApi::start() {
    thread_ = std::thread([this] { server_.listen_after_bind(); });
}

void ControlApi::stop() {
    if (thread_.joinable()) {
        server_.stop();
        thread_.join();
    }
}

void ControlApi::route() {
    server_.Get("/ready", guarded([this](const httplib::Request&, httplib::Response& response) {
                    Json::Value out(Json::objectValue);
                    out["ready"] = true;
                    out["ports"] = portsJson(state_.ports);
                    reply(response, out);
                }));
    server_.Post("/reset", guarded([this](const httplib::Request&, httplib::Response& response) {
                     state_.reset();
                     listeners_.listenAll();
                     Json::Value out(Json::objectValue);
                     out["reset"] = true;
                     reply(response, out);
                 }));
    server_.Post(R"(/script/([^/]+))",
                 guarded([this](const httplib::Request& request, httplib::Response& response) {
                     Service service = serviceParameter(request);
                     Script script = parseScript(bodyJson(request), service);
                     Json::Value out(Json::objectValue);
                     out["service"] = std::string(serviceName(service));
                     out["answers"] = Json::UInt64(script.answers.size());
                     out["then"] = script.thenDefault ? "default" : "repeat";
                     state_.scripts.set(service, std::move(script));
                     reply(response, out);
                 }));
    auto setListening = [this](bool listening) {
        return guarded(
            [this, listening](const httplib::Request& request, httplib::Response& response) {
                Service service = serviceParameter(request);
                listeners_.setListening(service, listening);
                Json::Value out(Json::objectValue);
                out["service"] = std::string(serviceName(service));
                out["listening"] = listening;
                reply(response, out);
            });
    };
    server_.Post(R"(/down/([^/]+))", setListening(false));
    server_.Post(R"(/up/([^/]+))", setListening(true));
    server_.Post(R"(/certificate/([^/]+))",
                 guarded([this](const httplib::Request& request, httplib::Response& response) {
                     Service service = serviceParameter(request);
                     if (!usesTls(service)) {
                         throw BadRequest("only logconf and collector present a certificate");
                     }
                     Json::Value body = bodyJson(request);
                     std::optional<ServerCertificate> certificate =
                         body.isObject() && body["certificate"].isString()
                             ? certificateFromName(body["certificate"].asString())
                             : std::nullopt;
                     if (!certificate) {
                         throw BadRequest("expected {\"certificate\": \"trusted\", "
                                          "\"untrusted\" or \"wrong-host\"}");
                     }
                     state_.certificates.set(service, *certificate);
                     Json::Value out(Json::objectValue);
                     out["service"] = std::string(serviceName(service));
                     out["certificate"] = std::string(certificateName(*certificate));
                     reply(response, out);
                 }));
    server_.Post("/package",
                 guarded([this](const httplib::Request& request, httplib::Response& response) {
                     Package package = registerPackage(bodyJson(request));
                     Json::Value out(Json::objectValue);
                     out["name"] = package.name;
                     out["size"] = Json::UInt64(package.size);
                     out["sha256"] = package.sha256;
                     out["url"] = "http://127.0.0.1:" + std::to_string(state_.ports.package) +
                                  kPackagesPrefix + package.name;
                     state_.packages.add(std::move(package));
                     reply(response, out);
                 }));
    auto listRequests = [this](std::optional<Service> service, httplib::Response& response) {
        Json::Value out(Json::arrayValue);
        for (const Recording& recording : state_.requests.snapshot(service)) {
            out.append(recordingJson(recording));
        }
        reply(response, out);
    };
    server_.Get("/requests",
                guarded([listRequests](const httplib::Request&, httplib::Response& response) {
                    listRequests(std::nullopt, response);
                }));
    server_.Get(R"(/requests/([^/]+))", guarded([listRequests](const httplib::Request& request,
                                                               httplib::Response& response) {
                    listRequests(serviceParameter(request), response);
                }));
    server_.Post(
        "/time", guarded([this](const httplib::Request& request, httplib::Response& response) {
            Json::Value body = bodyJson(request);
            if (!body.isObject() || !body.isMember("serverTime") ||
                !(body["serverTime"].isNull() || body["serverTime"].isInt64())) {
                throw BadRequest("expected {\"serverTime\": <ms since 1970> or null}");
            }
            const Json::Value& time = body["serverTime"];
            state_.setServerTime(time.isNull() ? std::nullopt
                                               : std::optional<std::int64_t>(time.asInt64()));
            reply(response, body);
        }));
    server_.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
        if (!response.body.empty()) {
            return;
        }
        if (response.status == 404) {
            replyError(response, 404, "no control endpoint " + request.method + " " + request.path);
        } else {
            // httplib refuses, for example, a POST without Content-Length.
            replyError(response, response.status,
                       "the control API could not read " + request.method + " " + request.path);
        }
    });
}

} // namespace standin
