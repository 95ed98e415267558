#include "tools/standin/ResponseBuilder.h"

#include "tools/standin/DefaultAnswers.h"
#include "tools/standin/StatusText.h"

namespace standin {

namespace {

bool names(const std::vector<std::string>& lines, const char* field) {
    return !headerValues(lines, field).empty();
}

std::string makeHead(int status, const std::string& reason, const BaseAnswer& base,
                     const std::vector<std::string>& extra, const Delivery& delivery,
                     const std::optional<std::string>& location) {
    std::string head = "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n";
    // A default line gives way to a scripted line of the same name.
    if (!base.contentType.empty() && !names(extra, "Content-Type")) {
        head += "Content-Type: " + base.contentType + "\r\n";
    }
    if (!names(extra, "Content-Length")) {
        if (delivery.lengthMode == LengthMode::Auto) {
            head += "Content-Length: " + std::to_string(base.body ? base.body->size() : 0) + "\r\n";
        } else if (delivery.lengthMode == LengthMode::Fixed) {
            head += "Content-Length: " + std::to_string(delivery.announcedLength) + "\r\n";
        }
    }
    if (location && !names(extra, "Location")) {
        head += "Location: " + *location + "\r\n";
    }
    for (const std::string& line : base.headers) {
        if (!names(extra, line.substr(0, line.find(':')).c_str())) {
            head += line + "\r\n";
        }
    }
    for (const std::string& line : extra) {
        head += line + "\r\n";
    }
    if (!names(extra, "Connection")) {
        head += "Connection: close\r\n";
    }
    return head + "\r\n";
}

bool isSuccess(int status) {
    return status >= 200 && status < 300;
}

BaseAnswer chooseBase(Service service, const HttpRequest& request, const Answer& answer,
                      const StandinState& state) {
    if (answer.body) {
        BaseAnswer base;
        base.contentType =
            service == Service::Package ? "application/octet-stream" : "application/json";
        base.body = memoryBody(*answer.body);
        return base;
    }
    if (answer.package) {
        return packageAnswer(*answer.package, state);
    }
    // A redirect or an error status comes without a body; a package download
    // with a success status still carries the package.
    bool keepsDefault =
        !answer.redirect &&
        (!answer.status || (service == Service::Package && isSuccess(*answer.status)));
    if (keepsDefault) {
        return defaultAnswer(service, request, state);
    }
    return BaseAnswer{};
}

} // namespace

Response buildResponse(Service service, const HttpRequest& request,
                       const std::optional<Answer>& answer, const StandinState& state) {
    Response response;
    if (answer && answer->raw) {
        response.body = memoryBody(*answer->raw);
        response.delivery = answer->delivery;
        return response;
    }
    response.sendBody = request.method != "HEAD";
    BaseAnswer base = answer ? chooseBase(service, request, *answer, state)
                             : defaultAnswer(service, request, state);
    int status = base.status;
    std::string reason;
    std::vector<std::string> extra;
    std::optional<std::string> location;
    if (answer) {
        status = answer->status.value_or(answer->redirect ? 302 : base.status);
        extra = answer->headers;
        location = answer->redirect;
        response.delivery = answer->delivery;
        reason = answer->reason.value_or("");
    }
    if (reason.empty()) {
        reason = std::string(statusText(status));
    }
    response.status = status;
    response.head = makeHead(status, reason, base, extra, response.delivery, location);
    response.body = std::move(base.body);
    return response;
}

Response refusalResponse(int status, const std::string& reason) {
    BaseAnswer base = textAnswer(status, reason);
    Response response;
    response.status = status;
    response.head =
        makeHead(status, std::string(statusText(status)), base, {}, Delivery{}, std::nullopt);
    response.body = std::move(base.body);
    return response;
}

} // namespace standin
