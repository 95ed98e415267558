#include "tools/harness/UiDriverJson.h"

namespace testsupport::uidriverjson {

namespace {

const Json::Value& field(const Json::Value& object, const char* name) {
    const Json::Value* value = object.isObject()
                                   ? object.find(name, name + std::char_traits<char>::length(name))
                                   : nullptr;
    if (!value)
        throw UiDriverError("bad-response", std::string("no \"") + name + "\" in the answer");
    return *value;
}

[[noreturn]] void wrongType(const char* name, const char* expected) {
    throw UiDriverError("bad-response", std::string("\"") + name + "\" is not " + expected);
}

std::string text(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    if (!value.isString())
        wrongType(name, "a string");
    return value.asString();
}

bool flag(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    if (!value.isBool())
        wrongType(name, "true or false");
    return value.asBool();
}

int integer(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    if (!value.isInt())
        wrongType(name, "an integer");
    return value.asInt();
}

std::uint32_t unsignedInteger(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    if (!value.isUInt())
        wrongType(name, "an unsigned integer");
    return value.asUInt();
}

const Json::Value& list(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    if (!value.isArray())
        wrongType(name, "a list");
    return value;
}

Rect rect(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    return {integer(value, "left"), integer(value, "top"), integer(value, "right"),
            integer(value, "bottom")};
}

ControlInfo control(const Json::Value& value) {
    ControlInfo info;
    info.hwnd = parseHandle(value, "hwnd");
    info.parent = parseHandle(value, "parent");
    info.id = integer(value, "id");
    info.className = text(value, "className");
    info.text = text(value, "text");
    info.visible = flag(value, "visible");
    info.enabled = flag(value, "enabled");
    info.focused = flag(value, "focused");
    info.rect = rect(value, "rect");
    info.screenRect = rect(value, "screenRect");
    info.style = unsignedInteger(value, "style");
    info.exStyle = unsignedInteger(value, "exStyle");
    return info;
}

} // namespace

WindowHandle parseHandle(const Json::Value& value, const char* name) {
    return unsignedInteger(value, name);
}

Json::Value queryRequest(const WindowQuery& query) {
    Json::Value request(Json::objectValue);
    if (query.pid)
        request["pid"] = *query.pid;
    if (query.exe)
        request["exe"] = *query.exe;
    if (query.caption)
        request["caption"] = *query.caption;
    if (query.className)
        request["className"] = *query.className;
    if (query.owner)
        request["owner"] = *query.owner;
    return request;
}

const char* keyName(Key key) {
    switch (key) {
    case Key::Escape:
        return "Escape";
    case Key::Enter:
        return "Enter";
    case Key::Tab:
        return "Tab";
    case Key::Space:
        return "Space";
    case Key::Left:
        return "Left";
    case Key::Right:
        return "Right";
    case Key::Up:
        return "Up";
    case Key::Down:
        return "Down";
    }
    return "";
}

WindowInfo parseWindow(const Json::Value& value) {
    WindowInfo info;
    info.hwnd = parseHandle(value, "hwnd");
    info.owner = parseHandle(value, "owner");
    info.pid = unsignedInteger(value, "pid");
    info.tid = unsignedInteger(value, "tid");
    info.exe = text(value, "exe");
    info.className = text(value, "className");
    info.caption = text(value, "caption");
    info.visible = flag(value, "visible");
    info.enabled = flag(value, "enabled");
    info.foreground = flag(value, "foreground");
    info.rtl = flag(value, "rtl");
    info.style = unsignedInteger(value, "style");
    info.exStyle = unsignedInteger(value, "exStyle");
    info.rect = rect(value, "rect");
    info.clientRect = rect(value, "clientRect");
    if (!field(value, "focus").isNull())
        info.focus = integer(value, "focus");
    for (const Json::Value& entry : list(value, "controls"))
        info.controls.push_back(control(entry));
    return info;
}

std::vector<TopLevelWindow> parseWindowList(const Json::Value& value) {
    std::vector<TopLevelWindow> windows;
    for (const Json::Value& entry : list(value, "windows")) {
        TopLevelWindow window;
        window.hwnd = parseHandle(entry, "hwnd");
        window.owner = parseHandle(entry, "owner");
        window.pid = unsignedInteger(entry, "pid");
        window.exe = text(entry, "exe");
        window.className = text(entry, "className");
        window.caption = text(entry, "caption");
        window.visible = flag(entry, "visible");
        windows.push_back(window);
    }
    return windows;
}

std::vector<LinkItem> parseLinks(const Json::Value& value) {
    std::vector<LinkItem> links;
    for (const Json::Value& entry : list(value, "links")) {
        LinkItem link;
        link.index = integer(entry, "index");
        link.id = text(entry, "id");
        link.url = text(entry, "url");
        link.enabled = flag(entry, "enabled");
        link.focused = flag(entry, "focused");
        link.visited = flag(entry, "visited");
        links.push_back(link);
    }
    return links;
}

ProgressInfo parseProgress(const Json::Value& value) {
    ProgressInfo info;
    info.pos = integer(value, "pos");
    info.low = integer(value, "low");
    info.high = integer(value, "high");
    info.marquee = flag(value, "marquee");
    info.state = integer(value, "state");
    return info;
}

Responsiveness parseResponsiveness(const Json::Value& value) {
    Responsiveness result;
    for (const Json::Value& sample : list(value, "roundTripsUs")) {
        if (!sample.isNumeric())
            wrongType("roundTripsUs", "a list of numbers");
        result.roundTripsUs.push_back(sample.asDouble());
    }
    result.unanswered = integer(value, "unanswered");
    result.endedBy = text(value, "endedBy");
    return result;
}

MessageBoxInfo parseMessageBox(const Json::Value& value) {
    MessageBoxInfo info;
    info.hwnd = parseHandle(value, "hwnd");
    info.owner = parseHandle(value, "owner");
    info.pid = unsignedInteger(value, "pid");
    info.caption = text(value, "caption");
    info.text = text(value, "text");
    info.icon = flag(value, "icon");
    for (const Json::Value& entry : list(value, "buttons")) {
        MessageBoxButton button;
        button.id = integer(entry, "id");
        button.text = text(entry, "text");
        button.enabled = flag(entry, "enabled");
        button.focused = flag(entry, "focused");
        info.buttons.push_back(button);
    }
    return info;
}

} // namespace testsupport::uidriverjson
