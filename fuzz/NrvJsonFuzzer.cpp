// Drives CNRVJson with the input's texts, the parts between zero bytes: the
// first is parsed; the rest come in pairs of a key and a step, whose first
// byte picks a Set call (or a null key, a null text, a new Parse) and whose
// other bytes are the value. A model follows what the header says each step
// does to the root; in the end the root must equal it, and its compact text
// must keep its form and read back to the same root. Traps when it does not.
#include "fuzz/Utf8CodePoints.h"
#include "usage/NrvJson.h"

#include <json/json.h>

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

// The deepest text that Json::Reader reads; Parse refuses deeper ones, and a
// SetValue can put a value that deep one level further down.
constexpr size_t kReaderDepthLimit = 1000;

// The byte that starts a step picks it modulo kStepCount; the dictionary
// spells them H to P.
enum Step { kString, kNullText, kInt, kInt64, kReal, kBool, kValue, kNullKey, kParse };
constexpr unsigned kStepCount = kParse + 1;

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

std::vector<std::string> SplitAtZeros(const uint8_t* data, size_t size) {
    std::vector<std::string> texts(1);
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0)
            texts.emplace_back();
        else
            texts.back() += static_cast<char>(data[i]);
    }
    return texts;
}

template <typename Number> Number NumberFrom(const std::string& bytes) {
    Number number{};
    std::memcpy(&number, bytes.data(), bytes.size() < sizeof number ? bytes.size() : sizeof number);
    return number;
}

// Whether the \u escape whose u is at text[u] stands for a control character.
bool EscapesControlCharacter(const std::string& text, size_t u) {
    return text.compare(u + 1, 2, "00") == 0 && u + 4 < text.size() &&
           (text[u + 3] == '0' || text[u + 3] == '1');
}

// Checks the compact form: one line closed by a line feed; outside strings
// only JSON's punctuation, numbers and literals (so no space, no comment, no
// NaN); inside strings no raw control character, and no escape for anything
// else, since all else is written as it is. Gives the nesting depth.
size_t RequireCompactForm(const std::string& text) {
    Require(!text.empty() && text.back() == '\n');
    static const char kOutsideStrings[] = "{}[],:-+.0123456789Eaeflnrstu";
    bool inString = false;
    bool escaped = false;
    size_t depth = 0;
    size_t deepest = 0;
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            Require(static_cast<unsigned char>(c) >= 0x20);
            Require(!escaped || c != 'u' || EscapesControlCharacter(text, i));
            if (escaped)
                escaped = false;
            else if (c == '\\')
                escaped = true;
            else if (c == '"')
                inString = false;
            continue;
        }
        if (c == '"') {
            inString = true;
            continue;
        }
        Require(c != '\0' && std::strchr(kOutsideStrings, c) != nullptr);
        if (c == '{' || c == '[') {
            ++depth;
            deepest = std::max(deepest, depth);
        } else if (c == '}' || c == ']') {
            Require(depth > 0);
            --depth;
        }
    }
    Require(!inString && depth == 0);
    return deepest;
}

// Strict JSON: no comment, nothing after the value, no key twice.
bool ReadsStrictly(const std::string& text) {
    static const std::unique_ptr<Json::CharReader> reader = [] {
        Json::CharReaderBuilder builder;
        builder["allowComments"] = false;
        builder["allowTrailingCommas"] = false;
        builder["allowSingleQuotes"] = false;
        builder["allowNumericKeys"] = false;
        builder["allowSpecialFloats"] = false;
        builder["allowDroppedNullPlaceholders"] = false;
        builder["failIfExtra"] = true;
        builder["rejectDupKeys"] = true;
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    Json::Value value;
    return reader->parse(text.data(), text.data() + text.size(), &value, nullptr);
}

// Equal as JSON: integers compare by value whatever their type, since the
// reader picks int or unsigned from the digits alone; NaN equals NaN.
bool SameJson(const Json::Value& a, const Json::Value& b) {
    const bool aInteger = a.type() == Json::intValue || a.type() == Json::uintValue;
    const bool bInteger = b.type() == Json::intValue || b.type() == Json::uintValue;
    if (aInteger || bInteger)
        return aInteger && bInteger && a.isInt64() == b.isInt64() &&
               (a.isInt64() ? a.asInt64() == b.asInt64() : a.asUInt64() == b.asUInt64());
    if (a.type() != b.type() || a.size() != b.size())
        return false;
    if (a.type() == Json::realValue && std::isnan(a.asDouble()))
        return std::isnan(b.asDouble());
    if (a.isArray()) {
        for (Json::ArrayIndex i = 0; i < a.size(); ++i) {
            if (!SameJson(a[i], b[i]))
                return false;
        }
        return true;
    }
    if (a.isObject()) {
        for (const std::string& key : a.getMemberNames()) {
            if (!b.isMember(key) || !SameJson(a[key], b[key]))
                return false;
        }
        return true;
    }
    return a == b;
}

// The compact form as the library's stream writer gives it when told to
// write non-ASCII as it is and no comments: what ToCompactString must equal
// for UTF-8 texts.
std::string StreamWriterCompact(const Json::Value& root) {
    Json::StreamWriterBuilder settings;
    settings["indentation"] = "";
    settings["commentStyle"] = "None";
    settings["emitUTF8"] = true;
    return Json::writeString(settings, root) + "\n";
}

// What must hold of the compact text. exact is false when the root may hold
// a real that is not finite, which the text cannot give back: NaN is written
// as null, an infinity as a number too large to read. Texts set that are not
// UTF-8 are written with U+FFFD for their ill-formed parts: no round trip
// then.
void RequireCompactText(CNRVJson& json, bool exact, bool inputUtf8) {
    const std::string compact = json.ToCompactString();
    const size_t depth = RequireCompactForm(compact);
    Require(IsWellFormedUtf8(compact));
    if (!inputUtf8)
        return;
    Require(compact == StreamWriterCompact(json.GetRoot()));
    if (!exact || depth > kReaderDepthLimit)
        return;
    Require(ReadsStrictly(compact));
    CNRVJson again;
    Require(again.Parse(compact.c_str()));
    Require(SameJson(again.GetRoot(), json.GetRoot()));
    Require(compact == again.ToCompactString());
}

// The root as the header says the steps leave it, and whether all keys and
// texts given to Set calls were UTF-8; Parse gives well-formed texts of any.
struct Model {
    Json::Value root;
    bool exact = true;
    bool inputUtf8 = true;

    void Set(const std::string& key, const Json::Value& value) {
        Given(key);
        if (!root.isObject())
            root = Json::Value(Json::objectValue);
        root[key] = value;
    }

    void Given(const std::string& text) { inputUtf8 = inputUtf8 && IsWellFormedUtf8(text); }
};

// Parse replaces the root only when the text reads; an empty text never does.
void RunParse(CNRVJson& json, Model& model, const std::string& text) {
    CNRVJson fresh;
    const bool parsed = fresh.Parse(text.c_str());
    Require(json.Parse(text.c_str()) == parsed);
    Require(!text.empty() || !parsed);
    if (parsed) {
        model.root = fresh.GetRoot();
        model.exact = true;
    }
}

void RunStep(CNRVJson& json, Model& model, Step step, const std::string& key,
             const std::string& payload) {
    const char* const k = key.c_str();
    switch (step) {
    case kString:
        model.Given(payload);
        json.SetString(k, payload.c_str());
        model.Set(key, payload);
        break;
    case kNullText:
        json.SetString(k, nullptr);
        model.Set(key, "");
        break;
    case kInt:
        json.SetInt(k, NumberFrom<int32_t>(payload));
        model.Set(key, NumberFrom<int32_t>(payload));
        break;
    case kInt64:
        json.SetInt64(k, NumberFrom<int64_t>(payload));
        model.Set(key, static_cast<Json::Int64>(NumberFrom<int64_t>(payload)));
        break;
    case kReal:
        json.SetReal(k, NumberFrom<double>(payload));
        model.Set(key, NumberFrom<double>(payload));
        model.exact = model.exact && std::isfinite(NumberFrom<double>(payload));
        break;
    case kBool:
        json.SetBool(k, !payload.empty() && (payload[0] & 1));
        model.Set(key, !payload.empty() && (payload[0] & 1));
        break;
    case kValue: {
        CNRVJson value;
        value.Parse(payload.c_str());
        json.SetValue(k, value.GetRoot());
        model.Set(key, value.GetRoot());
        break;
    }
    case kNullKey:
        json.SetString(nullptr, payload.c_str());
        break;
    case kParse:
        RunParse(json, model, payload);
        break;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::vector<std::string> texts = SplitAtZeros(data, size);
    CNRVJson json;
    Model model;
    RunParse(json, model, texts[0]);
    for (size_t i = 1; i + 1 < texts.size(); i += 2) {
        const std::string& command = texts[i + 1];
        if (command.empty()) // no step byte: nothing to do
            continue;
        const auto step = static_cast<Step>(static_cast<unsigned char>(command[0]) % kStepCount);
        RunStep(json, model, step, texts[i], command.substr(1));
    }
    Require(SameJson(json.GetRoot(), model.root));
    RequireCompactText(json, model.exact, model.inputUtf8);
    return 0;
}
