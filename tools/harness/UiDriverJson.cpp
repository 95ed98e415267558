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

// The object's field, refused unless check accepts it; expected says what it
// should have been.
const Json::Value& typed(const Json::Value& object, const char* name,
                         bool (Json::Value::*check)() const, const char* expected) {
    const Json::Value& value = field(object, name);
    if (!(value.*check)())
        wrongType(name, expected);
    return value;
}

std::string text(const Json::Value& object, const char* name) {
    return typed(object, name, &Json::Value::isString, "a string").asString();
}

bool flag(const Json::Value& object, const char* name) {
    return typed(object, name, &Json::Value::isBool, "true or false").asBool();
}

int integer(const Json::Value& object, const char* name) {
    return typed(object, name, &Json::Value::isInt, "an integer").asInt();
}

std::uint32_t unsignedInteger(const Json::Value& object, const char* name) {
    return typed(object, name, &Json::Value::isUInt, "an unsigned integer").asUInt();
}

Rect rect(const Json::Value& object, const char* name) {
    const Json::Value& value = field(object, name);
    return {integer(value, "left"), integer(value, "top"), integer(value, "right"),
            integer(value, "bottom")};
}

// The list in the object's field, each entry read by parse.
template <typename Parse> auto listOf(const Json::Value& object, const char* name, Parse parse) {
    const Json::Value& entries = typed(object, name, &Json::Value::isArray, "a list");
    std::vector<decltype(parse(entries))> items;
    for (const Json::Value& entry : entries)
        items.push_back(parse(entry));
    return items;
}

void readIdentity(const Json::Value& value, WindowIdentity& window) {
    window.hwnd = parseHandle(value, "hwnd");
    window.owner = parseHandle(value, "owner");
    window.pid = unsignedInteger(value, "pid");
}

void readTopLevel(const Json::Value& value, TopLevelWindow& window) {
    readIdentity(value, window);
    window.exe = text(value, "exe");
    window.className = text(value, "className");
    window.caption = text(value, "caption");
    window.visible = flag(value, "visible");
}

TopLevelWindow topLevelWindow(const Json::Value& value) {
    TopLevelWindow window;
    readTopLevel(value, window);
    return window;
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

LinkItem link(const Json::Value& value) {
    LinkItem item;
    item.index = integer(value, "index");
    item.id = text(value, "id");
    item.url = text(value, "url");
    item.enabled = flag(value, "enabled");
    item.focused = flag(value, "focused");
    item.visited = flag(value, "visited");
    return item;
}

MessageBoxButton button(const Json::Value& value) {
    MessageBoxButton item;
    item.id = integer(value, "id");
    item.text = text(value, "text");
    item.enabled = flag(value, "enabled");
    item.focused = flag(value, "focused");
    return item;
}

double roundTrip(const Json::Value& sample) {
    if (!sample.isNumeric())
        wrongType("roundTripsUs", "a list of numbers");
    return sample.asDouble();
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
    readTopLevel(value, info);
    info.tid = unsignedInteger(value, "tid");
    info.enabled = flag(value, "enabled");
    info.foreground = flag(value, "foreground");
    info.rtl = flag(value, "rtl");
    info.style = unsignedInteger(value, "style");
    info.exStyle = unsignedInteger(value, "exStyle");
    info.rect = rect(value, "rect");
    info.clientRect = rect(value, "clientRect");
    if (!field(value, "focus").isNull())
        info.focus = integer(value, "focus");
    info.controls = listOf(value, "controls", control);
    return info;
}

std::vector<TopLevelWindow> parseWindowList(const Json::Value& value) {
    return listOf(value, "windows", topLevelWindow);
}

std::vector<LinkItem> parseLinks(const Json::Value& value) {
    return listOf(value, "links", link);
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
    result.roundTripsUs = listOf(value, "roundTripsUs", roundTrip);
    result.unanswered = integer(value, "unanswered");
    result.endedBy = text(value, "endedBy");
    return result;
}

MessageBoxInfo parseMessageBox(const Json::Value& value) {
    MessageBoxInfo info;
    readIdentity(value, info);
    info.caption = text(value, "caption");
    info.text = text(value, "text");
    info.icon = flag(value, "icon");
    info.buttons = listOf(value, "buttons", button);
    return info;
}

} // namespace testsupport::uidriverjson
