#include "usage/NrvJson.h"

#include "platform/Utf8Codec.h"

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

// The text with every ill-formed part of its UTF-8 replaced by U+FFFD.
std::string WellFormedText(const std::string& text) {
    const std::wstring decoded = utf8::DecodeUtf8(text.data(), text.size());
    return utf8::EncodeUtf8(decoded.data(), decoded.size());
}

// The reader turns an escaped unpaired surrogate ("\udc00") into bytes that
// are not UTF-8, and every writer would pass them on as they are: in keys
// as in texts, such parts become U+FFFD.
Json::Value WellFormed(const Json::Value& value) {
    switch (value.type()) {
    case Json::stringValue:
        return Json::Value(WellFormedText(value.asString()));
    case Json::arrayValue: {
        Json::Value result(Json::arrayValue);
        for (const Json::Value& item : value)
            result.append(WellFormed(item));
        return result;
    }
    case Json::objectValue: {
        Json::Value result(Json::objectValue);
        for (const std::string& name : value.getMemberNames())
            result[WellFormedText(name)] = WellFormed(value[name]);
        return result;
    }
    default:
        return value;
    }
}

} // namespace

bool ParseJsonText(const std::string& text, Json::Value& root) {
    try {
        Json::Reader reader;
        Json::Value parsed;
        if (!reader.parse(text, parsed))
            return false;
        Json::Value wellFormed = WellFormed(parsed);
        root.swap(wellFormed);
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
