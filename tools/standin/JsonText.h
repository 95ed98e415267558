#pragma once
#include <json/value.h>
#include <optional>
#include <string>

namespace standin {

// Strict parsing: nullopt (with `error` set) for anything but one JSON value.
std::optional<Json::Value> parseJson(const std::string& text, std::string& error);

// Compact, one line, UTF-8 left as is.
std::string writeJson(const Json::Value& value);

} // namespace standin
