#pragma once
#include <windows.h>

#include <json/value.h>

#include <optional>
#include <string>

#include "tools/uidriver/WindowSearch.h"

// Typed access to the fields of one request. Each getter throws DriverError
// "bad-request" for a missing or mistyped field, so a handler never meets
// jsoncpp's own exceptions.
class Request {
public:
    // The body must be a JSON object.
    explicit Request(const Json::Value& body) : m_body(body) {}

    std::string command() const;
    // A window handle as given, whether or not the window still exists.
    HWND handle(const char* name = "hwnd") const;
    // The same, but DriverError "no-window" when the window is gone.
    HWND window(const char* name = "hwnd") const;
    int integer(const char* name) const;
    std::string text(const char* name) const;
    // A text field as UTF-16, for Windows paths.
    std::wstring wideText(const char* name) const;
    // "timeoutMs", 10 s when absent.
    DWORD timeoutMs() const;
    // "pid", "exe", "caption", "className" and "owner", as far as given.
    WindowFilter filter() const;

private:
    const Json::Value& field(const char* name) const;
    std::optional<std::wstring> optionalText(const char* name) const;

    const Json::Value& m_body;
};
