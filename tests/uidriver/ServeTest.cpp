// The request handling of the driver, without any window to operate: how it
// answers malformed and mistyped requests, and that it always answers.
#include "tools/uidriver/Commands.h"

#include <json/reader.h>

#include <gtest/gtest.h>

#include <windows.h>

#include <memory>

namespace {

Json::Value Answer(const std::string& line, bool* quitOut = nullptr) {
    bool quit = false;
    const std::string response = Serve(line, quit);
    if (quitOut)
        *quitOut = quit;
    EXPECT_EQ(response.find('\n'), std::string::npos) << "a response is one line";
    Json::Value value;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    EXPECT_TRUE(reader->parse(response.data(), response.data() + response.size(), &value, &errors))
        << response;
    return value;
}

void ExpectError(const std::string& line, const std::string& code) {
    const Json::Value response = Answer(line);
    EXPECT_FALSE(response["ok"].asBool()) << line;
    EXPECT_EQ(response["error"].asString(), code) << line;
    EXPECT_FALSE(response["message"].asString().empty()) << line;
}

TEST(ServeTest, HelloTellsTheDriversProcess) {
    const Json::Value response = Answer(R"({"cmd":"hello"})");
    EXPECT_TRUE(response["ok"].asBool());
    EXPECT_EQ(response["pid"].asUInt(), GetCurrentProcessId());
}

TEST(ServeTest, QuitIsAnsweredAndEndsTheLoop) {
    bool quit = false;
    EXPECT_TRUE(Answer(R"({"cmd":"quit"})", &quit)["ok"].asBool());
    EXPECT_TRUE(quit);
    Answer(R"({"cmd":"hello"})", &quit);
    EXPECT_FALSE(quit);
}

TEST(ServeTest, RefusesWhatIsNotOneJsonObject) {
    ExpectError("", "bad-request");
    ExpectError("hello", "bad-request");
    ExpectError("[1,2]", "bad-request");
    ExpectError(R"("cmd")", "bad-request");
    ExpectError(R"({"cmd":"hello")", "bad-request");
}

TEST(ServeTest, RefusesUnknownAndMistypedRequests) {
    ExpectError(R"({})", "bad-request");
    ExpectError(R"({"cmd":7})", "bad-request");
    ExpectError(R"({"cmd":"dance"})", "bad-request");
    ExpectError(R"({"cmd":"window"})", "bad-request");
    ExpectError(R"({"cmd":"window","hwnd":"65630"})", "bad-request");
    ExpectError(R"({"cmd":"window","hwnd":-1})", "bad-request");
    ExpectError(R"({"cmd":"window","hwnd":1.5})", "bad-request");
    ExpectError(R"({"cmd":"waitWindow","pid":"x"})", "bad-request");
    ExpectError(R"({"cmd":"waitWindow","timeoutMs":600001})", "bad-request");
    ExpectError(R"({"cmd":"waitWindow","caption":"\udc00"})", "bad-request");
    ExpectError(R"({"cmd":"click","hwnd":0,"control":"1"})", "bad-request");
}

TEST(ServeTest, NamesWindowsThatDoNotExist) {
    ExpectError(R"({"cmd":"window","hwnd":4294967295})", "no-window");
    ExpectError(R"({"cmd":"click","hwnd":12345,"control":1})", "no-window");
    ExpectError(R"({"cmd":"messageBox","hwnd":12345})", "no-window");
}

TEST(ServeTest, WaitsEndInATimeoutAnswer) {
    ExpectError(R"({"cmd":"waitWindow","caption":"no window has this caption","timeoutMs":50})",
                "timeout");
    ExpectError(R"({"cmd":"waitMessageBox","owner":12345,"timeoutMs":50})", "timeout");
    // A window that does not exist is gone already.
    EXPECT_TRUE(Answer(R"({"cmd":"waitGone","hwnd":12345,"timeoutMs":50})")["ok"].asBool());
}

TEST(ServeTest, CarriesUnicodeCaptionsInFilters) {
    ExpectError(u8R"({"cmd":"waitWindow","caption":"설치 مرحبا‏","timeoutMs":20})",
                "timeout");
}

} // namespace
