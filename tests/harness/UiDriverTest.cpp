// The driver against programs every Wine prefix has: winver (a dialog with
// buttons and a message box) and notepad (an edit control with the text of a
// file). The installer's own end-to-end tests build on what is checked here.
#include "tools/harness/UiDriver.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>

namespace testsupport {
namespace {

using namespace std::chrono_literals;

constexpr int kOk = 1;
constexpr int kLicense = 97; // winver's "Wine license" button

const WineEnvironment& wine() {
    static const WineEnvironment environment = WineEnvironment::fromProcessEnvironment();
    return environment;
}

WineProcessOptions english(std::vector<std::string> args = {}) {
    WineProcessOptions options;
    options.args = std::move(args);
    options.environment = {{"LANG", "C.UTF-8"}, {"LC_ALL", "C.UTF-8"}};
    return options;
}

class UiDriverTest : public ::testing::Test {
protected:
    UiDriverTest() : driver_(wine(), UiDriver::defaultExecutable()) {}

    // Starts winver and returns its dialog.
    WindowHandle startAboutBox() {
        program_ = std::make_unique<WineProcess>(wine(), "winver", english());
        WindowQuery query;
        query.exe = "winver.exe";
        query.className = "#32770";
        const auto window = driver_.waitForWindow(query, 60s);
        if (!window)
            throw std::runtime_error("winver showed no dialog: " + program_->log());
        return *window;
    }

    UiDriver driver_;
    std::unique_ptr<WineProcess> program_;
};

TEST_F(UiDriverTest, ReadsADialogAsTheUserSeesIt) {
    const WindowHandle about = startAboutBox();
    const WindowInfo window = driver_.readWindow(about);
    EXPECT_EQ(window.hwnd, about);
    EXPECT_EQ(window.className, "#32770");
    EXPECT_EQ(window.exe, "winver.exe");
    EXPECT_EQ(window.caption.rfind("About Wine", 0), 0u) << window.caption;
    EXPECT_TRUE(window.visible);
    EXPECT_TRUE(window.enabled);
    EXPECT_FALSE(window.rtl);
    EXPECT_NE(window.pid, driver_.processId());
    EXPECT_EQ(driver_.processIdOf(about), window.pid);

    // The client area lies inside the outer frame, the controls inside the client area.
    EXPECT_GE(window.clientRect.left, window.rect.left);
    EXPECT_LE(window.clientRect.right, window.rect.right);
    EXPECT_GT(window.clientRect.top, window.rect.top) << "below the caption";
    const ControlInfo* ok = window.control(kOk);
    ASSERT_NE(ok, nullptr);
    EXPECT_EQ(ok->className, "Button");
    EXPECT_EQ(ok->text, "OK");
    EXPECT_TRUE(ok->visible);
    EXPECT_TRUE(ok->enabled);
    EXPECT_EQ(ok->parent, about);
    EXPECT_GE(ok->rect.left, 0);
    EXPECT_LE(ok->rect.right, window.clientRect.width());
    EXPECT_EQ(ok->screenRect.left - ok->rect.left, window.clientRect.left);
    EXPECT_EQ(ok->screenRect.width(), ok->rect.width());

    // The keyboard focus starts on the default button, and only there.
    ASSERT_TRUE(window.focus);
    EXPECT_EQ(*window.focus, kOk);
    int focused = 0;
    for (const ControlInfo& control : window.controls)
        focused += control.focused ? 1 : 0;
    EXPECT_EQ(focused, 1);
    EXPECT_TRUE(ok->focused);
}

TEST_F(UiDriverTest, KeysReachTheDialog) {
    const WindowHandle about = startAboutBox();
    driver_.pressKey(about, Key::Tab);
    ASSERT_TRUE(driver_.waitForWindowState(
        about, [](const WindowInfo& info) { return info.focus && *info.focus != kOk; }, 10s))
        << "Tab moves the focus on";
    driver_.pressKey(about, Key::Escape);
    EXPECT_TRUE(driver_.waitForWindowGone(about, 10s));
    EXPECT_EQ(program_->waitForExit(30s), 0);
}

TEST_F(UiDriverTest, EnterPressesTheDefaultButton) {
    const WindowHandle about = startAboutBox();
    driver_.pressKey(about, Key::Enter);
    EXPECT_TRUE(driver_.waitForWindowGone(about, 10s));
    EXPECT_EQ(program_->waitForExit(30s), 0);
}

TEST_F(UiDriverTest, TheCloseBoxEndsTheDialog) {
    const WindowHandle about = startAboutBox();
    driver_.closeWindow(about);
    EXPECT_TRUE(driver_.waitForWindowGone(about, 10s));
    EXPECT_EQ(program_->waitForExit(30s), 0);
}

TEST_F(UiDriverTest, AClickOpensAMessageBoxThatCanBeAnswered) {
    const WindowHandle about = startAboutBox();
    EXPECT_FALSE(driver_.waitForMessageBox(about, 100ms)) << "none before the click";
    driver_.clickButton(about, kLicense);
    const auto box = driver_.waitForMessageBox(about, 10s);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->owner, about);
    EXPECT_EQ(box->caption, "Wine License");
    EXPECT_EQ(box->text.rfind("Wine is free software", 0), 0u) << box->text;
    EXPECT_TRUE(box->icon);
    ASSERT_EQ(box->buttons.size(), 1u);
    EXPECT_EQ(box->buttons[0].id, kOk);
    EXPECT_TRUE(box->buttons[0].focused);
    EXPECT_EQ(driver_.readMessageBox(box->hwnd).text, box->text);

    // The modal box disables its owner: a user cannot click there now.
    EXPECT_FALSE(driver_.readWindow(about).enabled);
    try {
        driver_.clickButton(about, kOk);
        ADD_FAILURE() << "a click on the disabled owner was given";
    } catch (const UiDriverError& error) {
        EXPECT_EQ(error.code(), "disabled");
    }

    driver_.answerMessageBox(*box, kOk);
    EXPECT_TRUE(driver_.waitForWindowGone(box->hwnd, 10s));
    EXPECT_TRUE(driver_.readWindow(about).enabled);
    EXPECT_TRUE(driver_.waitForControlEnabled(about, kOk, true, 10s));
    driver_.clickButton(about, kOk);
    EXPECT_TRUE(driver_.waitForWindowGone(about, 10s));
    EXPECT_EQ(program_->waitForExit(30s), 0);
}

TEST_F(UiDriverTest, TextsArriveExactlyAsShown) {
    // Hangul, Arabic with a right-to-left mark, and a character beyond the BMP.
    const std::string text = u8"설치 관리자 مرحبا\u200F \U0001F600";
    char dir[] = "/tmp/kestrix-uidriver-test.XXXXXX";
    const std::string folder = ::mkdtemp(dir);
    const std::string file = folder + "/text.txt";
    std::ofstream(file, std::ios::binary) << "\xEF\xBB\xBF" << text;

    program_ = std::make_unique<WineProcess>(wine(), "notepad", english({"Z:" + file}));
    WindowQuery query;
    query.exe = "notepad.exe";
    const auto notepad = driver_.waitForWindow(query, 60s);
    ASSERT_TRUE(notepad) << program_->log();
    EXPECT_TRUE(driver_.waitForControlText(*notepad, 0, text, 10s))
        << "edit control: " << driver_.readWindow(*notepad).controls.at(0).text;
    EXPECT_EQ(driver_.readWindow(*notepad).caption, "text.txt - Notepad");
    driver_.closeWindow(*notepad);
    EXPECT_TRUE(driver_.waitForWindowGone(*notepad, 10s));
    std::filesystem::remove_all(folder);
}

TEST_F(UiDriverTest, MissingWindowsAndControlsAreClearErrors) {
    WindowQuery nothing;
    nothing.caption = u8"no window has this caption 없음";
    EXPECT_FALSE(driver_.waitForWindow(nothing, 100ms));
    EXPECT_TRUE(driver_.waitForWindowGone(12345, 100ms));

    auto codeOf = [](const std::function<void()>& request) -> std::string {
        try {
            request();
        } catch (const UiDriverError& error) {
            return error.code();
        }
        return "no error";
    };
    EXPECT_EQ(codeOf([&] { driver_.readWindow(12345); }), "no-window");
    const WindowHandle about = startAboutBox();
    EXPECT_EQ(codeOf([&] { driver_.clickButton(about, 4242); }), "no-control");
    EXPECT_EQ(codeOf([&] { driver_.readMessageBox(about); }), "no-window");
    EXPECT_EQ(codeOf([&] { driver_.clickLink(about, kOk, 0); }), "no-link");
    EXPECT_TRUE(driver_.readLinks(about, kOk).empty()) << "a button has no links";

    bool listed = false;
    for (const TopLevelWindow& window : driver_.windows())
        listed = listed || (window.hwnd == about && window.visible && window.exe == "winver.exe");
    EXPECT_TRUE(listed);
    // The driver still serves requests after refusing some.
    EXPECT_EQ(driver_.readWindow(about).hwnd, about);
}

} // namespace
} // namespace testsupport
