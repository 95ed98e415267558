#include "usage/NrvJson.h"

#include <exception>
#include <memory>

namespace {

// The compact form of Json::FastWriter, except that characters outside ASCII
// are written as they are instead of as \u escapes.
Json::StreamWriterBuilder CompactBuilder() {
    Json::StreamWriterBuilder settings;
    settings["indentation"] = "";
    settings["commentStyle"] = "None";
    settings["emitUTF8"] = true;
    settings["enableYAMLCompatibility"] = false;
    settings["dropNullPlaceholders"] = false;
    settings["useSpecialFloats"] = false;
    settings["precision"] = Json::Value::defaultRealPrecision;
    settings["precisionType"] = "significant";
    return settings;
}

} // namespace

bool ParseJsonText(const std::string& text, Json::Value& root) {
    try {
        Json::Reader reader;
        Json::Value parsed;
        if (!reader.parse(text, parsed))
            return false;
        root.swap(parsed);
        return true;
    } catch (const std::exception&) {
        // The reader throws when the text nests deeper than its stack limit.
        return false;
    }
}

CNRVJson::CNRVJson() = default;

CNRVJson::~CNRVJson() = default;

void CNRVJson::SetString(const char* key, const char* value) {
    SetValue(key, Json::Value(value ? value : ""));
}

void CNRVJson::SetInt(const char* key, int32_t value) {
    SetValue(key, Json::Value(static_cast<Json::Int>(value)));
}

void CNRVJson::SetInt64(const char* key, int64_t value) {
    SetValue(key, Json::Value(static_cast<Json::Int64>(value)));
}

void CNRVJson::SetReal(const char* key, double value) {
    SetValue(key, Json::Value(value));
}

void CNRVJson::SetBool(const char* key, bool value) {
    SetValue(key, Json::Value(value));
}

void CNRVJson::SetValue(const char* key, const Json::Value& value) {
    if (!key)
        return;
    if (!m_root.isObject())
        m_root = Json::Value(Json::objectValue);
    m_root[key] = value;
}

Json::Value CNRVJson::GetRoot() const {
    return m_root;
}

bool CNRVJson::Parse(const char* text) {
    return text && ParseJsonText(text, m_root);
}

const char* CNRVJson::ToCompactString() {
    m_strText = Json::writeString(CompactBuilder(), m_root);
    m_strText += '\n';
    return m_strText.c_str();
}
