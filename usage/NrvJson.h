#pragma once
#include <json/json.h>

#include <cstdint>
#include <string>

// One JSON value that is built key by key, parsed or written. Keys and texts
// are zero-terminated UTF-8; a null key is ignored and a null text counts as
// empty. The first Set turns a null root into an object; an existing key is
// overwritten. A root of another type is replaced by an object.
class CNRVJson {
public:
    CNRVJson();
    virtual ~CNRVJson();

    void SetString(const char* key, const char* value);
    void SetInt(const char* key, int32_t value);
    void SetInt64(const char* key, int64_t value);
    void SetReal(const char* key, double value);
    void SetBool(const char* key, bool value);
    void SetValue(const char* key, const Json::Value& value);

    Json::Value GetRoot() const;

    // True when the text was read as JSON with the library's Reader in its
    // default mode (comments allowed, any value as the root); the root is
    // replaced only then. An empty or null text does not parse.
    bool Parse(const char* text);

    // The root in compact form (no spaces, members in byte order of their
    // keys, non-ASCII written as raw UTF-8, a final line feed): FastWriter's,
    // but for its \u escapes of non-ASCII. Ill-formed parts of texts that
    // were set are written as U+FFFD. The pointer stays valid until the next
    // call or the object's destruction.
    const char* ToCompactString();

private:
    Json::Value m_root;
    std::string m_strText;
};

// Reads text with Json::Reader's default features into root. Never throws: a
// text that the reader rejects, or that nests too deeply, gives false. Texts
// and keys come out as well-formed UTF-8 (U+FFFD for ill-formed parts, such
// as an escaped unpaired surrogate).
bool ParseJsonText(const std::string& text, Json::Value& root);
