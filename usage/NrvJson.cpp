#include "usage/NrvJson.h"

#include "platform/Utf8Codec.h"

#include <exception>
#include <memory>

namespace {

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

// The four hexadecimal digits of a \u escape starting at text[at], or -1.
long EscapedUnit(const std::string& text, size_t at) {
    if (text.compare(at, 2, "\\u") != 0 || at + 6 > text.size())
        return -1;
    long unit = 0;
    for (size_t i = at + 2; i < at + 6; ++i) {
        const char c = text[i];
        const int digit = c >= '0' && c <= '9'   ? c - '0'
                          : c >= 'a' && c <= 'f' ? c - 'a' + 10
                          : c >= 'A' && c <= 'F' ? c - 'A' + 10
                                                 : -1;
        if (digit < 0)
            return -1;
        unit = unit * 16 + digit;
    }
    return unit;
}

void AppendUtf8(std::string& out, unsigned long codePoint) {
    if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
    } else if (codePoint < 0x10000) {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (codePoint >> 18));
        out += static_cast<char>(0x80 | ((codePoint >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
    }
    out += static_cast<char>(0x80 | (codePoint & 0x3F));
}

// FastWriter's text with its escapes of characters outside ASCII turned back
// into their UTF-8. It cannot be told not to escape them, and the one writer
// that can writes through a C++ stream, which would bring the whole C++
// locale into the executable. Other escapes, such as those of control
// characters, stay as they are; the text is JSON, so a backslash outside an
// escape cannot occur.
std::string WithRawUtf8(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (size_t at = 0; at < text.size();) {
        if (text[at] != '\\') {
            out += text[at++];
            continue;
        }
        const long unit = EscapedUnit(text, at);
        if (unit < 0x80) {
            out.append(text, at, 2);
            at += 2;
            continue;
        }
        at += 6;
        const long low = EscapedUnit(text, at);
        if (unit >= 0xD800 && unit < 0xDC00 && low >= 0xDC00 && low < 0xE000) {
            AppendUtf8(out, 0x10000 + ((static_cast<unsigned long>(unit) - 0xD800) << 10) +
                                (static_cast<unsigned long>(low) - 0xDC00));
            at += 6;
        } else if (unit >= 0xD800 && unit < 0xE000) {
            AppendUtf8(out, 0xFFFD);
        } else {
            AppendUtf8(out, static_cast<unsigned long>(unit));
        }
    }
    return out;
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
    // FastWriter reads any byte after a UTF-8 lead byte as a continuation:
    // texts set that are not UTF-8 are made so first, or it would swallow
    // the characters after a stray lead byte.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    m_strText = WithRawUtf8(Json::FastWriter().write(WellFormed(m_root)));
#pragma GCC diagnostic pop
    return m_strText.c_str();
}
