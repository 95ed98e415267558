#pragma once
#include <json/value.h>
#include <stdexcept>

#include "tools/standin/Answer.h"
#include "tools/standin/Service.h"

namespace standin {

// A script document the control API refuses; the message names the field.
class ScriptError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Either a list of answers (the last repeats) or
// {"answers": [...], "then": "default" | "repeat"}. Unknown fields are
// refused so that a misspelt setting does not pass unnoticed.
Script parseScript(const Json::Value& document, Service service);

} // namespace standin
