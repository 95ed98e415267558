// Closing the window while work is under way: the confirmation box, and what
// each answer does to the download.
#include "tests/e2e/InstallerSession.h"

#include <thread>

namespace e2e {
namespace {

using testsupport::StandinAnswer;

constexpr int kYes = 6;
constexpr int kNo = 7;

class CloseRequest : public InstallerTest {
protected:
    // Starts a download slow enough to close the window during it.
    WindowHandle StartSlowDownload(testsupport::StandinPackage* package) {
        *package = ServeStandinSetup();
        SlowPackageHost();
        Start();
        const WindowHandle window = WaitForWindow();
        EXPECT_TRUE(WaitForTitle(window, kDownloading));
        return window;
    }

    testsupport::MessageBoxInfo WaitForConfirmation(WindowHandle window) {
        const auto box = Session::Driver().waitForMessageBox(window, 30s);
        if (!box) {
            ADD_FAILURE() << "no confirmation box";
            return {};
        }
        return *box;
    }
};

TEST_F(CloseRequest, TheConfirmationBoxAsksInTheUsersLanguage) {
    testsupport::StandinPackage package;
    const WindowHandle window = StartSlowDownload(&package);
    Session::Driver().closeWindow(window);
    const testsupport::MessageBoxInfo box = WaitForConfirmation(window);
    EXPECT_EQ(box.caption, "Confirm Installation Cancellation");
    EXPECT_EQ(box.text, "Installation of Kestrix Office is not complete yet.\n"
                        "Do you want to cancel the installation?");
    EXPECT_TRUE(box.icon);
    ASSERT_EQ(box.buttons.size(), 2u);
    EXPECT_EQ(box.buttons[0].id, kYes);
    EXPECT_EQ(box.buttons[1].id, kNo);
    Session::Driver().answerMessageBox(box, kNo);
}

TEST_F(CloseRequest, NoResumesThePausedDownloadWhichCompletesAndHandsOff) {
    testsupport::StandinPackage package;
    const WindowHandle window = StartSlowDownload(&package);
    Session::Driver().pressKey(window, testsupport::Key::Escape);
    const testsupport::MessageBoxInfo box = WaitForConfirmation(window);
    // While the question is open the download is paused: the bar stops.
    const int paused = Session::Driver().readProgress(window, kProgress).pos;
    std::this_thread::sleep_for(1500ms);
    EXPECT_EQ(Session::Driver().readProgress(window, kProgress).pos, paused);
    Session::Driver().answerMessageBox(box, kNo);

    ASSERT_TRUE(WaitForExit(120s));
    EXPECT_TRUE(WaitForSetupStarted());
    EXPECT_EQ(Sha256OfFile(SetupFile()), package.sha256);
}

TEST_F(CloseRequest, YesDuringTheDownloadEndsTheWindowWithoutAHandOff) {
    testsupport::StandinPackage package;
    const WindowHandle window = StartSlowDownload(&package);
    Session::Driver().closeWindow(window);
    Session::Driver().answerMessageBox(WaitForConfirmation(window), kYes);
    ASSERT_TRUE(WaitForExit(60s));
    EXPECT_FALSE(FileExists(SetupStartedMarker()));
    EXPECT_FALSE(FileExists(SetupFile())) << "what arrived does not stay under the setup's name";
}

TEST_F(CloseRequest, YesWhileOnlyThePackageUrlIsAwaitedEndsAtOnce) {
    StandinAnswer held;
    held.delayMs = 60000;
    Session::Standin().script(testsupport::kStandinUpdate, {held});
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kConnecting));
    Session::Driver().closeWindow(window);
    Session::Driver().answerMessageBox(WaitForConfirmation(window), kYes);
    EXPECT_TRUE(WaitForExit(30s));
}

TEST_F(CloseRequest, OnTheFailureViewYesEndsTheWindow) {
    const WindowHandle window = StartOnTheFailureView();
    ASSERT_TRUE(window);
    Session::Driver().closeWindow(window);
    Session::Driver().answerMessageBox(WaitForConfirmation(window), kYes);
    EXPECT_TRUE(WaitForExit(30s));
}

TEST_F(CloseRequest, OfflineTheWindowClosesWithoutAQuestion) {
    Start(Offline());
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kNoConnection));
    Session::Driver().closeWindow(window);
    EXPECT_TRUE(WaitForExit(30s));
    EXPECT_TRUE(Session::Standin().requests().empty());
}

} // namespace
} // namespace e2e
