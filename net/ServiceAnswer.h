#pragma once
#include <json/json.h>

#include <cstdint>
#include <string>

class FirstLineReader;

// The first line of a service answer, parsed. resultCode is -1 unless the
// line parsed to an object whose "resultCode" is an integer in 32-bit range.
struct ParsedAnswer {
    bool parsed = false;
    int32_t resultCode = -1;
    Json::Value root;
};

// Parses with Json::Reader's default features (comments allowed, any root).
// Never throws; text that the reader rejects is not parsed.
ParsedAnswer ParseAnswerLine(const std::string& line);

// As above for a collected first line; a line over the cap is not parsed.
ParsedAnswer ParseAnswerLine(const FirstLineReader& reader);

// "resultCode" of an object root; -1 when absent or of another shape.
int32_t ReadResultCode(const Json::Value& root);

// What an HTTP 200 answer of the package URL exchange hands to the window: a
// text only when resultCode is 0, the "url" string, empty when the key is
// missing or not a string.
struct PackageUrlAnswer {
    int32_t resultCode = -1;
    bool hasUrlText = false;
    std::string urlUtf8;
};

// For an HTTP 200 answer.
PackageUrlAnswer ReadPackageUrlAnswer(const ParsedAnswer& answer);

// The server-time exchange's result after an HTTP 200 answer: serverTimeMs is
// taken only when resultCode is 0, and is 0 when "serverTime" is missing or
// not a number that fits an unsigned 64-bit count (negative, not finite,
// too large). A real is truncated toward zero; an integer is taken as it is.
struct ServerTimeAnswer {
    int32_t resultCode = -1;
    uint64_t serverTimeMs = 0;
};

// For an HTTP 200 answer.
ServerTimeAnswer ReadServerTimeAnswer(const ParsedAnswer& answer);
