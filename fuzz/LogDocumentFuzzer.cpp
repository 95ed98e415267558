// Builds the log document of a record and an environment read from the input,
// wide texts that are no Unicode included, and checks what BuildLogDocument
// promises: compact, strict JSON in well-formed UTF-8, ending in a line feed,
// that carries each text as given, with what is no Unicode scalar value
// replaced by U+FFFD, and the event time. Traps when it does not.
#include "fuzz/Utf8CodePoints.h"
#include "usage/LogDocument.h"
#include "usage/NrvJson.h"

#include <json/json.h>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace {

static_assert(sizeof(wchar_t) == 4, "the fuzzers run natively, where wchar_t holds code points");

void Require(bool condition) {
    if (!condition)
        __builtin_trap();
}

// Reads the input as wide texts and then numbers. A byte below 80 is that
// character, so that JSON texts stay readable; a byte 80-BF and the next give
// a surrogate D800-DFFF; C0-EF and the next two give any 16-bit unit; F0-FF
// and the next four give any 32-bit value, negative ones and those above
// U+10FFFF included. A zero unit ends a text. Reading past the end gives zeros.
class InputReader {
public:
    InputReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    std::wstring Text() {
        std::wstring text;
        for (wchar_t unit = Unit(); unit != 0; unit = Unit())
            text += unit;
        return text;
    }

    uint64_t Number(size_t bytes) {
        uint64_t number = 0;
        for (size_t i = 0; i < bytes; ++i)
            number = number << 8 | Byte();
        return number;
    }

private:
    uint8_t Byte() { return m_at < m_size ? m_data[m_at++] : 0; }

    wchar_t Unit() {
        const uint8_t lead = Byte();
        if (lead < 0x80)
            return lead;
        if (lead < 0xC0)
            return static_cast<wchar_t>(0xD800 | (lead & 0x07) << 8 | Byte());
        if (lead < 0xF0)
            return static_cast<wchar_t>(Number(2));
        return static_cast<wchar_t>(static_cast<uint32_t>(Number(4)));
    }

    const uint8_t* m_data;
    size_t m_size;
    size_t m_at = 0;
};

const wchar_t* UsageEventRecord::*const kRecordTexts[] = {
    &UsageEventRecord::t,  &UsageEventRecord::v,  &UsageEventRecord::cobj, &UsageEventRecord::dp,
    &UsageEventRecord::dt, &UsageEventRecord::ec, &UsageEventRecord::ea,   &UsageEventRecord::el,
};
constexpr size_t kRecordTextCount = sizeof kRecordTexts / sizeof kRecordTexts[0];

// The event's members, each written only in some records, and their texts.
const std::pair<const char*, const wchar_t * UsageEventRecord::*> kEventTexts[] = {
    {"dp", &UsageEventRecord::dp}, {"dt", &UsageEventRecord::dt}, {"ec", &UsageEventRecord::ec},
    {"ea", &UsageEventRecord::ea}, {"el", &UsageEventRecord::el},
};

// The record's texts, the environment's and then the numbers: which record
// texts are absent (a bit each), whether the time zone is known, its offset
// and the event time.
struct Input {
    std::wstring recordTexts[kRecordTextCount];
    UsageEventRecord record;
    LogEnvironment environment;

    Input(const Input&) = delete; // record points into recordTexts
    explicit Input(InputReader reader) {
        for (std::wstring& text : recordTexts)
            text = reader.Text();
        environment.userAgent = reader.Text();
        environment.localIp = reader.Text();
        environment.deviceId = reader.Text();
        environment.timeZone.tzid = reader.Text();
        const uint64_t absent = reader.Number(1);
        for (size_t i = 0; i < kRecordTextCount; ++i)
            record.*kRecordTexts[i] = absent >> i & 1 ? nullptr : recordTexts[i].c_str();
        environment.timeZone.available = reader.Number(1) & 1;
        environment.timeZone.tzos = static_cast<int32_t>(static_cast<uint32_t>(reader.Number(4)));
        record.timeMs = reader.Number(8);
    }
};

// The code points that a text must come out as.
std::u32string Expected(const wchar_t* text) {
    std::u32string codePoints;
    for (; text && *text; ++text) {
        const auto c = static_cast<char32_t>(*text);
        codePoints += (c >= 0xD800 && c <= 0xDFFF) || c > 0x10FFFF ? char32_t{0xFFFD} : c;
    }
    return codePoints;
}

void RequireText(const Json::Value& member, const wchar_t* text) {
    std::u32string codePoints;
    Require(member.isString() && ReadUtf8CodePoints(member.asString(), codePoints) &&
            codePoints == Expected(text));
}

Json::Value ReadStrictly(const std::string& text) {
    static const std::unique_ptr<Json::CharReader> reader = [] {
        Json::CharReaderBuilder builder;
        Json::CharReaderBuilder::strictMode(&builder.settings_);
        return std::unique_ptr<Json::CharReader>(builder.newCharReader());
    }();
    Json::Value document;
    Require(reader->parse(text.data(), text.data() + text.size(), &document, nullptr));
    return document;
}

void RequireMembers(const Json::Value& document) {
    for (const std::string& key : document.getMemberNames())
        Require(key == "cobj" || key == "ctx" || key == "obj" || key == "ti" || key == "ui");
    Require(document["ti"].isObject() && document["ui"].isObject() && document["ctx"].isObject());
    Require(document["obj"].isNull() || document["obj"].isObject());
}

void RequireContext(const Json::Value& context, const Input& input) {
    const uint64_t timeMs = input.record.timeMs;
    Require(context["ts"].isUInt64() && context["ts"].asUInt64() == timeMs / 1000);
    Require(context["tms"].isDouble() && context["tms"].asDouble() == static_cast<double>(timeMs));
    Require(context["nos"] == true);
    RequireText(context["bid"], input.environment.deviceId.c_str());
    const TimeZoneValues& zone = input.environment.timeZone;
    Require(context.isMember("tzos") == zone.available &&
            context.isMember("tzid") == zone.available);
    if (zone.available) {
        Require(context["tzos"].isInt() && context["tzos"].asInt() == zone.tzos);
        RequireText(context["tzid"], zone.tzid.c_str());
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const Input input{InputReader(data, size)};
    std::string out = "left over";
    BuildLogDocument(input.record, input.environment, out);

    Require(IsWellFormedUtf8(out) && !out.empty() && out.back() == '\n');
    // Compact already: its compact form is the text itself.
    CNRVJson compact;
    Require(compact.Parse(out.c_str()) && out == compact.ToCompactString());
    const Json::Value document = ReadStrictly(out);
    RequireMembers(document);

    const UsageEventRecord& record = input.record;
    RequireText(document["ti"]["t"], record.t);
    RequireText(document["ti"]["v"], record.v);
    RequireText(document["ui"]["ua"], input.environment.userAgent.c_str());
    RequireText(document["ui"]["ip"], input.environment.localIp.c_str());
    for (const auto& [key, text] : kEventTexts) {
        if (document["obj"].isMember(key))
            RequireText(document["obj"][key], record.*text);
    }
    RequireContext(document["ctx"], input);
    return 0;
}
