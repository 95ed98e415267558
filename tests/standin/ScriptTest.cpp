#include <gtest/gtest.h>

#include "tools/standin/JsonText.h"
#include "tools/standin/ScriptBook.h"
#include "tools/standin/ScriptJson.h"

namespace {

using standin::Service;

Json::Value json(const std::string& text) {
    std::string error;
    std::optional<Json::Value> value = standin::parseJson(text, error);
    EXPECT_TRUE(value) << error;
    return value.value_or(Json::Value());
}

standin::Script parse(const std::string& text, Service service = Service::Update) {
    return standin::parseScript(json(text), service);
}

TEST(ScriptJson, ReadsEverySetting) {
    standin::Script script = parse(R"([{"status": 503, "reason": "Busy", "body": "{}",
        "headers": ["Retry-After: 1", "X-A: b"], "content_length": 99, "chunk_bytes": 2,
        "chunk_delay_ms": 5, "trickle_after_bytes": 1, "trickle_interval_ms": 7, "delay_ms": 3,
        "hold_before_read_ms": 4, "redirect": "http://127.0.0.1/x"}])");
    ASSERT_EQ(script.answers.size(), 1u);
    const standin::Answer& answer = script.answers[0];
    EXPECT_EQ(answer.status, 503);
    EXPECT_EQ(answer.reason, "Busy");
    EXPECT_EQ(answer.body, "{}");
    EXPECT_EQ(answer.headers, (std::vector<std::string>{"Retry-After: 1", "X-A: b"}));
    EXPECT_EQ(answer.redirect, "http://127.0.0.1/x");
    EXPECT_EQ(answer.delivery.lengthMode, standin::LengthMode::Fixed);
    EXPECT_EQ(answer.delivery.announcedLength, 99u);
    EXPECT_EQ(answer.delivery.chunkBytes, 2u);
    EXPECT_EQ(answer.delivery.chunkDelay.count(), 5);
    EXPECT_EQ(answer.delivery.cutoff, standin::Cutoff::Trickle);
    EXPECT_EQ(answer.delivery.cutoffAfter, 1u);
    EXPECT_EQ(answer.delivery.trickleInterval.count(), 7);
    EXPECT_EQ(answer.delivery.delay.count(), 3);
    EXPECT_EQ(answer.delivery.holdBeforeRead.count(), 4);
    EXPECT_FALSE(script.thenDefault);
}

TEST(ScriptJson, DecodesBase64BodiesAndRawAnswers) {
    standin::Script script = parse(
        R"([{"body_base64": "AP8K", "reset_after_bytes": 2},
            {"raw_base64": "SFRUUC8xLjE=", "drop_after_bytes": 3}])");
    EXPECT_EQ(script.answers[0].body, std::string("\x00\xff\n", 3));
    EXPECT_EQ(script.answers[0].delivery.cutoff, standin::Cutoff::Reset);
    EXPECT_EQ(script.answers[1].raw, "HTTP/1.1");
    EXPECT_EQ(script.answers[1].delivery.cutoff, standin::Cutoff::Drop);
}

TEST(ScriptJson, RefusesMistakesAndNamesTheField) {
    const std::pair<const char*, const char*> cases[] = {
        {R"([{"stauts": 200}])", "stauts"},
        {R"([{"status": "200"}])", "status"},
        {R"([{"status": 42}])", "status"},
        {R"([{"body": "a", "body_base64": "YQ=="}])", "body"},
        {R"([{"body_base64": "!!"}])", "body_base64"},
        {R"([{"drop_after_bytes": 1, "stall_after_bytes": 2}])", "drop_after_bytes"},
        {R"([{"reset_after_bytes": 1, "trickle_after_bytes": 2}])", "reset_after_bytes"},
        {R"([{"trickle_interval_ms": 5}])", "trickle_interval_ms"},
        {R"([{"chunk_delay_ms": 5}])", "chunk_delay_ms"},
        {R"([{"chunk_bytes": 0}])", "chunk_bytes"},
        {R"([{"content_length": "some"}])", "content_length"},
        {R"([{"headers": ["No colon"]}])", "headers"},
        {R"([{"headers": ["A: b\r\nInjected: c"]}])", "headers"},
        {R"([{"package": "x.exe"}])", "package"},
        {R"([{"raw": "x", "status": 200}])", "status"},
        {R"([{"delay_ms": -1}])", "delay_ms"},
        {R"([{"hold_before_read_ms": "1s"}])", "hold_before_read_ms"},
        {R"({"answers": [], "then": "later"})", "then"},
        {R"({"answer": []})", "answer"},
        {R"([3])", "answer 0"},
    };
    for (const auto& [text, field] : cases) {
        try {
            parse(text);
            ADD_FAILURE() << "accepted " << text;
        } catch (const standin::ScriptError& error) {
            EXPECT_NE(std::string(error.what()).find(field), std::string::npos)
                << text << " -> " << error.what();
        }
    }
    EXPECT_THROW(standin::parseScript(Json::Value("hello"), Service::Update), standin::ScriptError);
}

TEST(ScriptJson, AllowsAPackageOnlyForThePackageService) {
    standin::Script script = parse(R"([{"package": "x.exe"}])", Service::Package);
    EXPECT_EQ(script.answers[0].package, "x.exe");
}

TEST(ScriptBook, UsesAnswersInOrderThenRepeatsTheLast) {
    standin::ScriptBook book;
    book.set(Service::Update, parse(R"([{"status": 500}, {"status": 200}])"));
    EXPECT_EQ(book.peek(Service::Update)->status, 500);
    EXPECT_EQ(book.next(Service::Update)->status, 500);
    EXPECT_EQ(book.peek(Service::Update)->status, 200);
    EXPECT_EQ(book.next(Service::Update)->status, 200);
    EXPECT_EQ(book.next(Service::Update)->status, 200);
    EXPECT_FALSE(book.next(Service::Collector));
    EXPECT_FALSE(book.peek(Service::Collector));
}

TEST(ScriptBook, ReturnsToDefaultsWhenAskedOrCleared) {
    standin::ScriptBook book;
    book.set(Service::Update, parse(R"({"answers": [{"status": 500}], "then": "default"})"));
    EXPECT_EQ(book.next(Service::Update)->status, 500);
    EXPECT_FALSE(book.next(Service::Update));

    book.set(Service::Update, parse(R"([{"status": 500}])"));
    book.set(Service::Update, parse(R"([])"));
    EXPECT_FALSE(book.next(Service::Update));

    book.set(Service::LogConf, parse(R"([{"status": 500}])"));
    book.clear();
    EXPECT_FALSE(book.next(Service::LogConf));
}

} // namespace
