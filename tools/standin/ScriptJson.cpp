#include "tools/standin/ScriptJson.h"

#include <algorithm>
#include <set>

#include "tools/standin/Base64.h"

namespace standin {

namespace {

const std::set<std::string> kAnswerFields = {"status",
                                             "reason",
                                             "body",
                                             "body_base64",
                                             "raw",
                                             "raw_base64",
                                             "package",
                                             "redirect",
                                             "headers",
                                             "content_length",
                                             "chunk_bytes",
                                             "chunk_delay_ms",
                                             "stall_after_bytes",
                                             "trickle_after_bytes",
                                             "trickle_interval_ms",
                                             "drop_after_bytes",
                                             "reset_after_bytes",
                                             "delay_ms",
                                             "hold_before_read_ms"};

std::string where(std::size_t index, const std::string& field) {
    return "answer " + std::to_string(index) + ", \"" + field + "\": ";
}

std::uint64_t unsignedField(const Json::Value& answer, std::size_t index, const std::string& field,
                            std::uint64_t max) {
    const Json::Value& value = answer[field];
    if (!value.isUInt64() || value.asUInt64() > max) {
        throw ScriptError(where(index, field) + "expected an integer from 0 to " +
                          std::to_string(max));
    }
    return value.asUInt64();
}

std::string textField(const Json::Value& answer, std::size_t index, const std::string& field) {
    const Json::Value& value = answer[field];
    if (!value.isString()) {
        throw ScriptError(where(index, field) + "expected a string");
    }
    return value.asString();
}

std::string bytesField(const Json::Value& answer, std::size_t index, const std::string& textName,
                       const std::string& base64Name) {
    if (answer.isMember(textName) && answer.isMember(base64Name)) {
        throw ScriptError(where(index, textName) + "give either it or \"" + base64Name + "\"");
    }
    if (answer.isMember(textName)) {
        return textField(answer, index, textName);
    }
    std::optional<std::string> bytes = base64Decode(textField(answer, index, base64Name));
    if (!bytes) {
        throw ScriptError(where(index, base64Name) + "not valid base64");
    }
    return *bytes;
}

bool hasLineBreak(const std::string& text) {
    return text.find_first_of("\r\n") != std::string::npos;
}

std::string headerLine(std::size_t index, std::string line) {
    std::size_t colon = line.find(':');
    if (colon == 0 || colon == std::string::npos || hasLineBreak(line) ||
        line.find_first_of(" \t") < colon) {
        throw ScriptError(where(index, "headers") + "\"" + line +
                          "\" is not a \"Name: value\" line");
    }
    return line;
}

std::vector<std::string> headersField(const Json::Value& answer, std::size_t index) {
    const Json::Value& value = answer["headers"];
    std::vector<std::string> lines;
    if (value.isArray()) {
        for (const Json::Value& line : value) {
            if (!line.isString()) {
                throw ScriptError(where(index, "headers") + "expected strings");
            }
            lines.push_back(headerLine(index, line.asString()));
        }
    } else if (value.isObject()) {
        for (const std::string& name : value.getMemberNames()) {
            if (!value[name].isString()) {
                throw ScriptError(where(index, "headers") + "expected string values");
            }
            lines.push_back(headerLine(index, name + ": " + value[name].asString()));
        }
    } else {
        throw ScriptError(where(index, "headers") + "expected a list of header lines or an object");
    }
    return lines;
}

void readLength(const Json::Value& answer, std::size_t index, Delivery& delivery) {
    const Json::Value& value = answer["content_length"];
    if (value.isString() && value.asString() == "auto") {
        delivery.lengthMode = LengthMode::Auto;
    } else if (value.isString() && value.asString() == "none") {
        delivery.lengthMode = LengthMode::None;
    } else if (value.isUInt64()) {
        delivery.lengthMode = LengthMode::Fixed;
        delivery.announcedLength = value.asUInt64();
    } else {
        throw ScriptError(where(index, "content_length") +
                          "expected \"auto\", \"none\" or a byte count");
    }
}

void readCutoff(const Json::Value& answer, std::size_t index, Delivery& delivery) {
    constexpr std::uint64_t kMaxBytes = std::uint64_t(1) << 50;
    const std::pair<const char*, Cutoff> kinds[] = {{"stall_after_bytes", Cutoff::Stall},
                                                    {"trickle_after_bytes", Cutoff::Trickle},
                                                    {"drop_after_bytes", Cutoff::Drop},
                                                    {"reset_after_bytes", Cutoff::Reset}};
    for (const auto& [field, kind] : kinds) {
        if (!answer.isMember(field)) {
            continue;
        }
        if (delivery.cutoff != Cutoff::None) {
            throw ScriptError(where(index, field) +
                              "only one of stall, trickle, drop and reset per answer");
        }
        delivery.cutoff = kind;
        delivery.cutoffAfter = unsignedField(answer, index, field, kMaxBytes);
    }
    if (answer.isMember("trickle_interval_ms")) {
        if (delivery.cutoff != Cutoff::Trickle) {
            throw ScriptError(where(index, "trickle_interval_ms") +
                              "only with \"trickle_after_bytes\"");
        }
        delivery.trickleInterval =
            std::chrono::milliseconds(unsignedField(answer, index, "trickle_interval_ms", 60000));
        delivery.trickleInterval = std::max(delivery.trickleInterval, std::chrono::milliseconds(1));
    }
}

Delivery deliveryFields(const Json::Value& answer, std::size_t index) {
    Delivery delivery;
    if (answer.isMember("content_length")) {
        readLength(answer, index, delivery);
    }
    if (answer.isMember("chunk_bytes")) {
        delivery.chunkBytes =
            static_cast<std::size_t>(unsignedField(answer, index, "chunk_bytes", 1 << 24));
        if (delivery.chunkBytes == 0) {
            throw ScriptError(where(index, "chunk_bytes") + "must be at least 1");
        }
    }
    if (answer.isMember("chunk_delay_ms")) {
        if (delivery.chunkBytes == 0) {
            throw ScriptError(where(index, "chunk_delay_ms") + "only with \"chunk_bytes\"");
        }
        delivery.chunkDelay =
            std::chrono::milliseconds(unsignedField(answer, index, "chunk_delay_ms", 60000));
    }
    if (answer.isMember("delay_ms")) {
        delivery.delay =
            std::chrono::milliseconds(unsignedField(answer, index, "delay_ms", 600000));
    }
    if (answer.isMember("hold_before_read_ms")) {
        delivery.holdBeforeRead =
            std::chrono::milliseconds(unsignedField(answer, index, "hold_before_read_ms", 600000));
    }
    readCutoff(answer, index, delivery);
    return delivery;
}

Answer parseAnswer(const Json::Value& value, std::size_t index, Service service) {
    if (!value.isObject()) {
        throw ScriptError("answer " + std::to_string(index) + ": expected an object");
    }
    for (const std::string& name : value.getMemberNames()) {
        if (kAnswerFields.count(name) == 0) {
            throw ScriptError(where(index, name) + "unknown setting");
        }
    }
    Answer answer;
    answer.delivery = deliveryFields(value, index);
    if (value.isMember("raw") || value.isMember("raw_base64")) {
        for (const char* other : {"status", "reason", "body", "body_base64", "package", "redirect",
                                  "headers", "content_length"}) {
            if (value.isMember(other)) {
                throw ScriptError(where(index, other) + "cannot be combined with a raw answer");
            }
        }
        answer.raw = bytesField(value, index, "raw", "raw_base64");
        return answer;
    }
    if (value.isMember("status")) {
        answer.status = static_cast<int>(unsignedField(value, index, "status", 999));
        if (*answer.status < 100) {
            throw ScriptError(where(index, "status") + "expected 100 to 999");
        }
    }
    if (value.isMember("reason")) {
        answer.reason = textField(value, index, "reason");
        if (hasLineBreak(*answer.reason)) {
            throw ScriptError(where(index, "reason") + "no line breaks");
        }
    }
    if (value.isMember("body") || value.isMember("body_base64")) {
        answer.body = bytesField(value, index, "body", "body_base64");
    }
    if (value.isMember("package")) {
        if (service != Service::Package) {
            throw ScriptError(where(index, "package") + "only for the package service");
        }
        answer.package = textField(value, index, "package");
    }
    if (value.isMember("redirect")) {
        answer.redirect = textField(value, index, "redirect");
        if (answer.redirect->empty() || hasLineBreak(*answer.redirect)) {
            throw ScriptError(where(index, "redirect") + "expected a URL");
        }
    }
    if (value.isMember("headers")) {
        answer.headers = headersField(value, index);
    }
    return answer;
}

} // namespace

Script parseScript(const Json::Value& document, Service service) {
    Script script;
    const Json::Value* answers = &document;
    if (document.isObject()) {
        for (const std::string& name : document.getMemberNames()) {
            if (name != "answers" && name != "then") {
                throw ScriptError("\"" + name + "\": unknown script setting");
            }
        }
        answers = &document["answers"];
        if (document.isMember("then")) {
            const Json::Value& then = document["then"];
            if (!then.isString() || (then.asString() != "default" && then.asString() != "repeat")) {
                throw ScriptError("\"then\": expected \"default\" or \"repeat\"");
            }
            script.thenDefault = then.asString() == "default";
        }
    }
    if (!answers->isArray()) {
        throw ScriptError("expected a list of answers or {\"answers\": [...], \"then\": ...}");
    }
    for (Json::ArrayIndex i = 0; i < answers->size(); ++i) {
        script.answers.push_back(parseAnswer((*answers)[i], i, service));
    }
    return script;
}

} // namespace standin
