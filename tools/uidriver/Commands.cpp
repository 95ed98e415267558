#include "tools/uidriver/Commands.h"

#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/HeldFiles.h"
#include "tools/uidriver/Input.h"
#include "tools/uidriver/MessageBoxes.h"
#include "tools/uidriver/ProgressState.h"
#include "tools/uidriver/Request.h"
#include "tools/uidriver/Responsiveness.h"
#include "tools/uidriver/SysLinkItems.h"
#include "tools/uidriver/Utf8.h"
#include "tools/uidriver/WindowReader.h"
#include "tools/uidriver/WindowSearch.h"
#include "tools/uidriver/WindowText.h"

#include <json/reader.h>
#include <json/writer.h>

#include <functional>
#include <map>
#include <memory>

namespace {

using Handler = std::function<Json::Value(const Request&)>;

Json::Value Empty() {
    return Json::Value(Json::objectValue);
}

Json::Value ListWindows(const Request& request) {
    const WindowFilter filter = request.filter();
    Json::Value list(Json::arrayValue);
    for (HWND window : TopLevelWindows()) {
        // Hidden windows too: the list is for finding out what is there.
        if (filter.pid && ProcessIdOf(window) != *filter.pid)
            continue;
        if (filter.exe && !RunsProgram(window, *filter.exe))
            continue;
        Json::Value entry(Json::objectValue);
        entry["hwnd"] = HandleValue(window);
        entry["pid"] = static_cast<Json::UInt>(ProcessIdOf(window));
        entry["exe"] = ToUtf8(ProgramOf(window));
        entry["owner"] = HandleValue(GetWindow(window, GW_OWNER));
        entry["className"] = ToUtf8(ClassNameOf(window));
        entry["caption"] = ToUtf8(CaptionOf(window));
        entry["visible"] = IsWindowVisible(window) != FALSE;
        list.append(entry);
    }
    Json::Value result = Empty();
    result["windows"] = list;
    return result;
}

HWND Control(const Request& request) {
    return FindControl(request.window(), request.integer("control"));
}

const std::map<std::string, Handler>& Handlers() {
    static const std::map<std::string, Handler> handlers = {
        {"hello",
         [](const Request&) {
             Json::Value result = Empty();
             result["pid"] = static_cast<Json::UInt>(GetCurrentProcessId());
             return result;
         }},
        {"windows", ListWindows},
        {"waitWindow",
         [](const Request& request) {
             Json::Value result = Empty();
             result["hwnd"] = HandleValue(WaitForWindow(request.filter(), request.timeoutMs()));
             return result;
         }},
        {"waitGone",
         [](const Request& request) {
             WaitUntilGone(request.handle(), request.timeoutMs());
             return Empty();
         }},
        {"window", [](const Request& request) { return DescribeWindow(request.window()); }},
        {"links",
         [](const Request& request) {
             Json::Value result = Empty();
             result["links"] = DescribeLinks(Control(request));
             return result;
         }},
        {"progress", [](const Request& request) { return DescribeProgress(Control(request)); }},
        {"responses",
         [](const Request& request) {
             const int periodMs = request.integer("periodMs");
             if (periodMs < 1 || periodMs > 1000)
                 throw DriverError("bad-request", "periodMs must be 1 to 1000");
             return MeasureResponses(request.window(), static_cast<DWORD>(periodMs),
                                     request.timeoutMs());
         }},
        {"click",
         [](const Request& request) {
             ClickButton(Control(request));
             return Empty();
         }},
        {"clickLink",
         [](const Request& request) {
             const HWND link = Control(request);
             ClickAt(link, PointOnLink(link, request.integer("link")));
             return Empty();
         }},
        {"key",
         [](const Request& request) {
             PressKey(request.window(), request.text("key"));
             return Empty();
         }},
        {"close",
         [](const Request& request) {
             PressCloseBox(request.window());
             return Empty();
         }},
        {"post",
         [](const Request& request) {
             if (!::PostMessageW(request.window(), static_cast<UINT>(request.integer("message")),
                                 static_cast<WPARAM>(request.integer("wParam")),
                                 static_cast<LPARAM>(request.integer("lParam"))))
                 throw DriverError("failed", "PostMessage failed");
             return Empty();
         }},
        {"holdFile",
         [](const Request& request) {
             HoldFile(request.wideText("path"));
             return Empty();
         }},
        {"releaseFile",
         [](const Request& request) {
             ReleaseFile(request.wideText("path"));
             return Empty();
         }},
        {"waitMessageBox",
         [](const Request& request) {
             return DescribeMessageBox(WaitForMessageBox(request.filter(), request.timeoutMs()));
         }},
        {"messageBox", [](const Request& request) { return DescribeMessageBox(request.window()); }},
        {"quit", [](const Request&) { return Empty(); }},
    };
    return handlers;
}

Json::Value Failure(const std::string& code, const std::string& message) {
    Json::Value response(Json::objectValue);
    response["ok"] = false;
    response["error"] = code;
    response["message"] = message;
    return response;
}

Json::Value Dispatch(const std::string& line, bool& quit) {
    Json::Value body;
    std::string parseErrors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    if (!reader->parse(line.data(), line.data() + line.size(), &body, &parseErrors) ||
        !body.isObject())
        return Failure("bad-request", "a request is one JSON object per line");
    const Request request(body);
    try {
        const std::string command = request.command();
        const auto handler = Handlers().find(command);
        if (handler == Handlers().end())
            return Failure("bad-request", "unknown command " + command);
        Json::Value response = handler->second(request);
        response["ok"] = true;
        quit = command == "quit";
        return response;
    } catch (const DriverError& error) {
        return Failure(error.code(), error.what());
    } catch (const std::exception& error) {
        return Failure("failed", error.what());
    }
}

} // namespace

std::string Serve(const std::string& requestLine, bool& quit) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, Dispatch(requestLine, quit));
}
