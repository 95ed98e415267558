#include "tools/uidriver/Request.h"

#include "tools/uidriver/DriverError.h"
#include "tools/uidriver/Utf8.h"

namespace {

constexpr DWORD kDefaultTimeoutMs = 10000;
// Ten minutes: longer than any test waits, short enough to end a forgotten wait.
constexpr DWORD kLongestTimeoutMs = 600000;

DriverError BadField(const char* name, const char* expected) {
    return DriverError("bad-request", std::string("\"") + name + "\" must be " + expected);
}

} // namespace

const Json::Value& Request::field(const char* name) const {
    const Json::Value* value = m_body.find(name, name + std::char_traits<char>::length(name));
    if (!value)
        throw DriverError("bad-request", std::string("\"") + name + "\" is missing");
    return *value;
}

std::string Request::command() const {
    return text("cmd");
}

HWND Request::handle(const char* name) const {
    const Json::Value& value = field(name);
    if (!value.isUInt())
        throw BadField(name, "a window handle");
    return reinterpret_cast<HWND>(static_cast<UINT_PTR>(value.asUInt()));
}

HWND Request::window(const char* name) const {
    const HWND window = handle(name);
    if (!IsWindow(window))
        throw DriverError("no-window", "the window does not exist");
    return window;
}

int Request::integer(const char* name) const {
    const Json::Value& value = field(name);
    if (!value.isInt())
        throw BadField(name, "an integer");
    return value.asInt();
}

std::string Request::text(const char* name) const {
    const Json::Value& value = field(name);
    if (!value.isString())
        throw BadField(name, "a string");
    return value.asString();
}

DWORD Request::timeoutMs() const {
    if (!m_body.isMember("timeoutMs"))
        return kDefaultTimeoutMs;
    const Json::Value& value = field("timeoutMs");
    if (!value.isUInt() || value.asUInt() > kLongestTimeoutMs)
        throw BadField("timeoutMs", "a number of milliseconds up to 600000");
    return value.asUInt();
}

std::wstring Request::wideText(const char* name) const {
    field(name);
    return *optionalText(name);
}

std::optional<std::wstring> Request::optionalText(const char* name) const {
    if (!m_body.isMember(name))
        return std::nullopt;
    auto wide = FromUtf8(text(name));
    if (!wide)
        throw BadField(name, "UTF-8");
    return wide;
}

WindowFilter Request::filter() const {
    WindowFilter filter;
    if (m_body.isMember("pid")) {
        const Json::Value& pid = field("pid");
        if (!pid.isUInt())
            throw BadField("pid", "a process id");
        filter.pid = pid.asUInt();
    }
    if (m_body.isMember("owner"))
        filter.owner = handle("owner");
    filter.exe = optionalText("exe");
    filter.caption = optionalText("caption");
    filter.className = optionalText("className");
    return filter;
}
