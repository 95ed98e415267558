#include "tools/standin/JsonText.h"

#include <json/reader.h>
#include <json/writer.h>
#include <memory>

namespace standin {

std::optional<Json::Value> parseJson(const std::string& text, std::string& error) {
    Json::CharReaderBuilder builder;
    Json::CharReaderBuilder::strictMode(&builder.settings_);
    std::unique_ptr<Json::CharReader> reader(builder.newCharReader());
    Json::Value value;
    if (!reader->parse(text.data(), text.data() + text.size(), &value, &error)) {
        return std::nullopt;
    }
    return value;
}

std::string writeJson(const Json::Value& value) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    builder["emitUTF8"] = true;
    return Json::writeString(builder, value);
}

} // namespace standin
