#include "tools/harness/UiDriverJson.h"

#include <gtest/gtest.h>

#include <json/reader.h>

#include <memory>

namespace testsupport {
namespace {

Json::Value parse(const std::string& text) {
    Json::Value value;
    std::string errors;
    const std::unique_ptr<Json::CharReader> reader(Json::CharReaderBuilder().newCharReader());
    EXPECT_TRUE(reader->parse(text.data(), text.data() + text.size(), &value, &errors)) << errors;
    return value;
}

// A window answer as the driver gives it for a right-to-left dialog.
const char* const kWindow = u8R"({"ok":true,"hwnd":65630,"owner":0,"pid":260,"tid":264,
  "exe":"KestrixOfficeInstaller.exe","className":"#32770","caption":"설치 مرحبا‏",
  "visible":true,"enabled":true,"foreground":false,"rtl":true,"style":2496135364,"exStyle":4293001,
  "rect":{"left":281,"top":222,"right":742,"bottom":545},
  "clientRect":{"left":284,"top":244,"right":739,"bottom":542},"focus":1,
  "controls":[
    {"hwnd":65644,"id":1,"parent":65630,"className":"Button","text":"확인","visible":true,
     "enabled":true,"focused":true,"style":1342242817,"exStyle":4,
     "rect":{"left":18,"top":234,"right":123,"bottom":264},
     "screenRect":{"left":616,"top":478,"right":721,"bottom":508}},
    {"hwnd":65650,"id":-1,"parent":65630,"className":"Static","text":"","visible":false,
     "enabled":false,"focused":false,"style":1342177280,"exStyle":0,
     "rect":{"left":0,"top":0,"right":0,"bottom":0},
     "screenRect":{"left":0,"top":0,"right":0,"bottom":0}}]})";

TEST(UiDriverJsonTest, ReadsAWindowWithItsControls) {
    const WindowInfo window = uidriverjson::parseWindow(parse(kWindow));
    EXPECT_EQ(window.hwnd, 65630u);
    EXPECT_EQ(window.pid, 260u);
    EXPECT_EQ(window.exe, "KestrixOfficeInstaller.exe");
    EXPECT_EQ(window.caption, u8"설치 مرحبا‏");
    EXPECT_TRUE(window.rtl);
    EXPECT_EQ(window.style, 2496135364u);
    EXPECT_EQ(window.rect.width(), 461);
    EXPECT_EQ(window.clientRect.height(), 298);
    ASSERT_TRUE(window.focus);
    EXPECT_EQ(*window.focus, 1);
    ASSERT_EQ(window.controls.size(), 2u);
    const ControlInfo* ok = window.control(1);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->text, u8"확인");
    EXPECT_TRUE(ok->focused);
    EXPECT_EQ(ok->rect.left, 18);
    EXPECT_EQ(ok->screenRect.right, 721);
    ASSERT_NE(window.control(-1), nullptr);
    EXPECT_FALSE(window.control(-1)->visible);
    EXPECT_EQ(window.control(2), nullptr);
}

TEST(UiDriverJsonTest, NoFocusIsNull) {
    Json::Value value = parse(kWindow);
    value["focus"] = Json::Value();
    EXPECT_FALSE(uidriverjson::parseWindow(value).focus);
}

TEST(UiDriverJsonTest, RefusesAnswersWithMissingOrMistypedFields) {
    const Json::Value good = parse(kWindow);
    for (const char* name : {"hwnd", "caption", "rtl", "rect", "controls", "focus"}) {
        Json::Value missing = good;
        missing.removeMember(name);
        EXPECT_THROW(uidriverjson::parseWindow(missing), UiDriverError) << name;
    }
    Json::Value wrong = good;
    wrong["caption"] = 5;
    EXPECT_THROW(uidriverjson::parseWindow(wrong), UiDriverError);
    wrong = good;
    wrong["hwnd"] = -1;
    EXPECT_THROW(uidriverjson::parseWindow(wrong), UiDriverError);
    wrong = good;
    wrong["controls"][0]["rect"]["left"] = "18";
    EXPECT_THROW(uidriverjson::parseWindow(wrong), UiDriverError);
    wrong = good;
    wrong["controls"] = Json::Value(Json::objectValue);
    EXPECT_THROW(uidriverjson::parseWindow(wrong), UiDriverError);
    EXPECT_THROW(uidriverjson::parseWindow(Json::Value("text")), UiDriverError);
    try {
        uidriverjson::parseWindow(Json::Value(Json::objectValue));
        ADD_FAILURE() << "an empty answer was taken";
    } catch (const UiDriverError& error) {
        EXPECT_EQ(error.code(), "bad-response");
    }
}

TEST(UiDriverJsonTest, ReadsAMessageBox) {
    const MessageBoxInfo box = uidriverjson::parseMessageBox(
        parse(u8R"json({"ok":true,"hwnd":7,"owner":65630,"pid":260,"caption":"Kestrix Office",
        "text":"설치를 취소할까요?","icon":true,"buttons":[
        {"id":6,"text":"예(&Y)","enabled":true,"focused":true},
        {"id":7,"text":"아니요(&N)","enabled":true,"focused":false}]})json"));
    EXPECT_EQ(box.owner, 65630u);
    EXPECT_EQ(box.text, u8"설치를 취소할까요?");
    EXPECT_TRUE(box.icon);
    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].id, 6);
    ASSERT_NE(box.button(7), nullptr);
    EXPECT_EQ(box.button(7)->text, u8"아니요(&N)");
    EXPECT_EQ(box.button(1), nullptr);
}

TEST(UiDriverJsonTest, ReadsLinksProgressAndWindowLists) {
    const auto links = uidriverjson::parseLinks(
        parse(R"({"links":[{"index":0,"id":"help","url":"https://localhost/help?lang=ko",
        "enabled":true,"focused":false,"visited":false}]})"));
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].id, "help");
    EXPECT_EQ(links[0].url, "https://localhost/help?lang=ko");

    const ProgressInfo progress = uidriverjson::parseProgress(
        parse(R"({"pos":42,"low":0,"high":200,"marquee":true,"state":3})"));
    EXPECT_EQ(progress.pos, 42);
    EXPECT_EQ(progress.high, 200);
    EXPECT_TRUE(progress.marquee);
    EXPECT_EQ(progress.state, 3);

    const auto windows = uidriverjson::parseWindowList(
        parse(R"({"windows":[{"hwnd":1,"owner":0,"pid":2,"exe":"a.exe","className":"IME",
        "caption":"Default IME","visible":false}]})"));
    ASSERT_EQ(windows.size(), 1u);
    EXPECT_EQ(windows[0].className, "IME");
    EXPECT_FALSE(windows[0].visible);
}

TEST(UiDriverJsonTest, WritesOnlyTheGivenFilterFields) {
    WindowQuery query;
    EXPECT_EQ(uidriverjson::queryRequest(query).size(), 0u);
    query.caption = u8"Kestrix Office 설치";
    query.className = "#32770";
    query.owner = 65630;
    const Json::Value request = uidriverjson::queryRequest(query);
    EXPECT_EQ(request.size(), 3u);
    EXPECT_EQ(request["caption"].asString(), u8"Kestrix Office 설치");
    EXPECT_EQ(request["owner"].asUInt(), 65630u);
    EXPECT_FALSE(request.isMember("pid"));
}

} // namespace
} // namespace testsupport
