#include "net/ServiceAnswer.h"

#include "net/FirstLineReader.h"
#include "usage/NrvJson.h"

#include <cmath>

namespace {

// The member under key when root is an object; null otherwise. Never throws,
// whatever the shape of the answer.
const Json::Value* Member(const Json::Value& root, const char* key) {
    if (!root.isObject())
        return nullptr;
    return root.find(key, key + std::char_traits<char>::length(key));
}

// 2^64 as a double: reals from here on do not fit.
constexpr double kTwoTo64 = 18446744073709551616.0;

bool ReadTime(const Json::Value& value, uint64_t& timeMs) {
    switch (value.type()) {
    case Json::intValue:
        if (value.asLargestInt() < 0)
            return false;
        timeMs = static_cast<uint64_t>(value.asLargestInt());
        return true;
    case Json::uintValue:
        timeMs = value.asLargestUInt();
        return true;
    case Json::realValue: {
        const double real = value.asDouble();
        if (!std::isfinite(real) || real < 0 || real >= kTwoTo64)
            return false;
        timeMs = static_cast<uint64_t>(real);
        return true;
    }
    default:
        return false;
    }
}

} // namespace

int32_t ReadResultCode(const Json::Value& root) {
    const Json::Value* code = Member(root, "resultCode");
    if (!code || !code->isInt())
        return -1;
    return code->asInt();
}

ParsedAnswer ParseAnswerLine(const std::string& line) {
    ParsedAnswer answer;
    answer.parsed = ParseJsonText(line, answer.root);
    if (answer.parsed)
        answer.resultCode = ReadResultCode(answer.root);
    return answer;
}

ParsedAnswer ParseAnswerLine(const FirstLineReader& reader) {
    if (reader.Overflowed())
        return ParsedAnswer();
    return ParseAnswerLine(reader.Line());
}

PackageUrlAnswer ReadPackageUrlAnswer(const ParsedAnswer& answer) {
    PackageUrlAnswer result;
    result.resultCode = answer.resultCode;
    if (answer.resultCode != 0)
        return result;
    result.hasUrlText = true;
    const Json::Value* url = Member(answer.root, "url");
    if (url && url->isString())
        result.urlUtf8 = url->asString();
    return result;
}

ServerTimeAnswer ReadServerTimeAnswer(const ParsedAnswer& answer) {
    ServerTimeAnswer result;
    result.resultCode = answer.resultCode;
    if (answer.resultCode != 0)
        return result;
    const Json::Value* time = Member(answer.root, "serverTime");
    uint64_t timeMs = 0;
    if (time && ReadTime(*time, timeMs))
        result.serverTimeMs = timeMs;
    return result;
}
