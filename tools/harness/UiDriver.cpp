#include "tools/harness/UiDriver.h"

#include "tools/harness/UiDriverJson.h"

#include <cstdlib>
#include <json/reader.h>
#include <json/writer.h>
#include <memory>
#include <stdexcept>
#include <thread>

namespace testsupport {

namespace {

using Clock = std::chrono::steady_clock;

// Beyond a request's own wait: the driver gives a program that does not
// answer 5 s per message before it reports it hung.
constexpr auto kAnswerSlack = std::chrono::seconds(30);
constexpr auto kPollInterval = std::chrono::milliseconds(20);

Json::Value command(const char* name) {
    Json::Value request(Json::objectValue);
    request["cmd"] = name;
    return request;
}

Json::Value command(const char* name, WindowHandle window) {
    Json::Value request = command(name);
    request["hwnd"] = window;
    return request;
}

Json::Value command(const char* name, WindowHandle window, int controlId) {
    Json::Value request = command(name, window);
    request["control"] = controlId;
    return request;
}

std::string tail(const std::string& text, size_t bytes) {
    return text.size() <= bytes ? text : "..." + text.substr(text.size() - bytes);
}

std::string compact(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

Json::Value parseAnswer(const std::string& line) {
    Json::Value value;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    if (!reader->parse(line.data(), line.data() + line.size(), &value, &errors) ||
        !value.isObject() || !value["ok"].isBool())
        throw UiDriverError("bad-response", "not an answer: " + line);
    return value;
}

WineProcessOptions driverOptions(std::uint16_t port) {
    WineProcessOptions options;
    options.args = {"--connect", "127.0.0.1:" + std::to_string(port)};
    return options;
}

} // namespace

UiDriver::UiDriver(const WineEnvironment& wine, const std::string& driverExe, Timeout startTimeout)
    : process_(wine, driverExe, driverOptions(connection_.port())) {
    if (!connection_.acceptDriver(startTimeout, [this] { return !process_.running(); }))
        throw UiDriverError("no-answer", "kestrix-uidriver did not connect; its log: " +
                                             tail(process_.log(), 2000));
    processId_ = uidriverjson::parseHandle(call(command("hello")), "pid");
}

UiDriver::~UiDriver() {
    try {
        call(command("quit"));
        process_.waitForExit(std::chrono::seconds(5));
    } catch (const std::exception&) {
        // The process is killed below in any case.
    }
}

std::string UiDriver::defaultExecutable() {
    const char* path = std::getenv("KESTRIX_UIDRIVER_EXE");
    if (!path || !*path)
        throw std::runtime_error("KESTRIX_UIDRIVER_EXE does not name kestrix-uidriver.exe");
    return path;
}

Json::Value UiDriver::call(Json::Value request, Timeout wait) {
    if (wait > Timeout::zero())
        request["timeoutMs"] = static_cast<Json::UInt64>(wait.count());
    Json::Value answer = parseAnswer(connection_.exchange(compact(request), wait + kAnswerSlack));
    if (!answer["ok"].asBool()) {
        const Json::Value& code = answer["error"];
        const Json::Value& message = answer["message"];
        throw UiDriverError(code.isString() ? code.asString() : "bad-response",
                            message.isString() ? message.asString() : "refused");
    }
    return answer;
}

std::optional<Json::Value> UiDriver::callWait(Json::Value request, Timeout wait) {
    try {
        return call(std::move(request), wait);
    } catch (const UiDriverError& error) {
        if (error.code() == "timeout")
            return std::nullopt;
        throw;
    }
}

std::optional<WindowHandle> UiDriver::waitForWindow(const WindowQuery& query, Timeout timeout) {
    Json::Value request = uidriverjson::queryRequest(query);
    request["cmd"] = "waitWindow";
    const auto answer = callWait(request, timeout);
    if (!answer)
        return std::nullopt;
    return uidriverjson::parseHandle(*answer, "hwnd");
}

bool UiDriver::waitForWindowGone(WindowHandle window, Timeout timeout) {
    return callWait(command("waitGone", window), timeout).has_value();
}

std::vector<TopLevelWindow> UiDriver::windows(const WindowQuery& query) {
    Json::Value request = uidriverjson::queryRequest(query);
    request["cmd"] = "windows";
    return uidriverjson::parseWindowList(call(request));
}

WindowInfo UiDriver::readWindow(WindowHandle window) {
    return uidriverjson::parseWindow(call(command("window", window)));
}

std::vector<LinkItem> UiDriver::readLinks(WindowHandle window, int controlId) {
    return uidriverjson::parseLinks(call(command("links", window, controlId)));
}

ProgressInfo UiDriver::readProgress(WindowHandle window, int controlId) {
    return uidriverjson::parseProgress(call(command("progress", window, controlId)));
}

Responsiveness UiDriver::measureResponses(WindowHandle window, std::chrono::milliseconds period,
                                          Timeout timeout) {
    Json::Value request = command("responses", window);
    request["periodMs"] = static_cast<int>(period.count());
    return uidriverjson::parseResponsiveness(call(request, timeout));
}

void UiDriver::clickButton(WindowHandle window, int controlId) {
    call(command("click", window, controlId));
}

void UiDriver::clickLink(WindowHandle window, int controlId, int linkIndex) {
    Json::Value request = command("clickLink", window, controlId);
    request["link"] = linkIndex;
    call(request);
}

void UiDriver::pressKey(WindowHandle window, Key key) {
    Json::Value request = command("key", window);
    request["key"] = uidriverjson::keyName(key);
    call(request);
}

void UiDriver::closeWindow(WindowHandle window) {
    call(command("close", window));
}

void UiDriver::postMessage(WindowHandle window, unsigned message, int wParam, int lParam) {
    Json::Value request = command("post", window);
    request["message"] = message;
    request["wParam"] = wParam;
    request["lParam"] = lParam;
    call(request);
}

void UiDriver::holdFile(const std::string& windowsPath) {
    Json::Value request = command("holdFile");
    request["path"] = windowsPath;
    call(request);
}

void UiDriver::releaseFile(const std::string& windowsPath) {
    Json::Value request = command("releaseFile");
    request["path"] = windowsPath;
    call(request);
}

std::optional<MessageBoxInfo> UiDriver::waitForMessageBox(WindowHandle owner, Timeout timeout) {
    WindowQuery query;
    query.owner = owner;
    Json::Value request = uidriverjson::queryRequest(query);
    request["cmd"] = "waitMessageBox";
    const auto answer = callWait(request, timeout);
    if (!answer)
        return std::nullopt;
    return uidriverjson::parseMessageBox(*answer);
}

MessageBoxInfo UiDriver::readMessageBox(WindowHandle messageBox) {
    return uidriverjson::parseMessageBox(call(command("messageBox", messageBox)));
}

void UiDriver::answerMessageBox(const MessageBoxInfo& messageBox, int buttonId) {
    clickButton(messageBox.hwnd, buttonId);
}

std::optional<WindowInfo>
UiDriver::waitForWindowState(WindowHandle window,
                             const std::function<bool(const WindowInfo&)>& done, Timeout timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        WindowInfo info = readWindow(window);
        if (done(info))
            return info;
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(kPollInterval);
    }
}

bool UiDriver::waitForControlText(WindowHandle window, int controlId, const std::string& text,
                                  Timeout timeout) {
    return waitForWindowState(
               window,
               [&](const WindowInfo& info) {
                   const ControlInfo* control = info.control(controlId);
                   return control && control->text == text;
               },
               timeout)
        .has_value();
}

bool UiDriver::waitForControlEnabled(WindowHandle window, int controlId, bool enabled,
                                     Timeout timeout) {
    return waitForWindowState(
               window,
               [&](const WindowInfo& info) {
                   const ControlInfo* control = info.control(controlId);
                   return control && control->enabled == enabled;
               },
               timeout)
        .has_value();
}

std::optional<ProgressInfo>
UiDriver::waitForProgress(WindowHandle window, int controlId,
                          const std::function<bool(const ProgressInfo&)>& done, Timeout timeout) {
    const auto deadline = Clock::now() + timeout;
    for (;;) {
        ProgressInfo info = readProgress(window, controlId);
        if (done(info))
            return info;
        if (Clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(kPollInterval);
    }
}

} // namespace testsupport
