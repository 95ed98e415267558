// The installer's main job and its failure paths, as a user sees them.
#include "tests/e2e/InstallerSession.h"

#include <filesystem>
#include <thread>

namespace e2e {
namespace {

using testsupport::StandinAnswer;

class InstallerFlow : public InstallerTest {
protected:
    // The failure view: its title, Retry, the help link and the description,
    // and no Close button.
    void ExpectFailureView(WindowHandle window) {
        ASSERT_TRUE(WaitForTitle(window, kFailed));
        const WindowInfo info = Read(window);
        EXPECT_TRUE(Visible(info, kRetry));
        EXPECT_TRUE(Visible(info, kHelpLink));
        EXPECT_TRUE(Visible(info, kDescription));
        EXPECT_FALSE(Visible(info, kClose));
        EXPECT_EQ(Text(info, kRetry), "Retry");
    }

    // Runs the installer against the update server's answer and expects
    // the failure view.
    void ExpectFailureFor(const StandinAnswer& updateAnswer) {
        Session::Standin().script(testsupport::kStandinUpdate, {updateAnswer});
        Start();
        ExpectFailureView(WaitForWindow());
        EXPECT_FALSE(FileExists(SetupStartedMarker()));
    }
};

TEST_F(InstallerFlow, DownloadsThePackageOpensItAndEnds) {
    const testsupport::StandinPackage package = ServeStandinSetup();
    SlowPackageHost();
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kDownloading));
    const auto progress = Session::Driver().waitForProgress(
        window, kProgress, [](const testsupport::ProgressInfo& bar) { return bar.pos > 0; }, 60s);
    ASSERT_TRUE(progress.has_value());
    EXPECT_FALSE(progress->marquee);
    EXPECT_EQ(progress->high, 100);

    ASSERT_TRUE(WaitForExit(120s)) << "the installer ends after the hand-off";
    EXPECT_TRUE(WaitForSetupStarted()) << "the shell opened the downloaded setup program";
    EXPECT_EQ(Sha256OfFile(SetupFile()), package.sha256);
}

TEST_F(InstallerFlow, ARefusalAnEmptyUrlOrAnHttpErrorGiveTheFailureView) {
    ExpectFailureFor(StandinAnswer::json("{\"resultCode\":1}"));
    StopAll();
    ExpectFailureFor(StandinAnswer::json("{\"resultCode\":0,\"url\":\"\"}"));
    StopAll();
    ExpectFailureFor(StandinAnswer::withStatus(500, "{\"resultCode\":0,\"url\":\"http://x/\"}"));
    StopAll();
    // The package host has nothing: the download fails with 404.
    ExpectFailureFor(StandinAnswer{});
}

TEST_F(InstallerFlow, RetryStartsANewAttemptThatReplacesTheFile) {
    const testsupport::StandinPackage package = ServeStandinSetup();
    StandinAnswer cut;
    cut.package = "KestrixOfficeSetup.exe";
    cut.dropAfterBytes = 100000;
    Session::Standin().script(testsupport::kStandinPackage, {cut}, /*thenDefault=*/true);
    Start();
    const WindowHandle window = WaitForWindow();
    ExpectFailureView(window);
    EXPECT_FALSE(FileExists(SetupFile())) << "what arrived does not stay under the setup's name";

    Session::Driver().clickButton(window, kRetry);
    ASSERT_TRUE(WaitForExit(120s));
    EXPECT_TRUE(WaitForSetupStarted());
    EXPECT_EQ(Sha256OfFile(SetupFile()), package.sha256);
    EXPECT_EQ(Session::Standin().requests(testsupport::kStandinUpdate).size(), 2u);
}

TEST_F(InstallerFlow, TheHelpLinkOpensTheHelpPage) {
    ExpectFailureFor(StandinAnswer::json("{\"resultCode\":1}"));
    const WindowHandle window = WaitForWindow();
    EXPECT_EQ(
        Text(Read(window), kHelpLink),
        "<A HREF=\"https://localhost/help/troubleshoot-installation-problems\">View Help</A>");
    const auto links = Session::Driver().readLinks(window, kHelpLink);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(links[0].url, "https://localhost/help/troubleshoot-installation-problems");

    Session::Driver().clickLink(window, kHelpLink, 0);
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    std::string opened;
    while (opened.find("troubleshoot") == std::string::npos &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(50ms);
        opened = ReadFileBytes(Session::Wine().browserLog);
    }
    EXPECT_NE(opened.find("https://localhost/help/troubleshoot-installation-problems"),
              std::string::npos)
        << opened;
    EXPECT_TRUE(processes.back()->running()) << "the failure view stays";
}

TEST_F(InstallerFlow, ASetupFileRemovedBeforeTheHandOffGivesTheFailureView) {
    ServeStandinSetup();
    SlowPackageHost();
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kDownloading));
    // Gone from the folder while still being written: the download itself
    // completes, but there is nothing to open.
    std::filesystem::remove(SetupFile());
    ExpectFailureView(window);
    EXPECT_FALSE(FileExists(SetupStartedMarker()));
}

TEST_F(InstallerFlow, EnterEndsTheWindowAtOnceInEveryView) {
    // Connecting: the update server holds its answer.
    StandinAnswer held;
    held.delayMs = 60000;
    Session::Standin().script(testsupport::kStandinUpdate, {held});
    Start();
    WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kConnecting));
    Session::Driver().pressKey(window, testsupport::Key::Enter);
    EXPECT_TRUE(WaitForExit());

    // Downloading.
    Session::Standin().reset();
    ServeStandinSetup();
    SlowPackageHost();
    Start();
    window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kDownloading));
    Session::Driver().pressKey(window, testsupport::Key::Enter);
    EXPECT_TRUE(WaitForExit());
    EXPECT_FALSE(FileExists(SetupStartedMarker()));

    // Failure.
    Session::Standin().reset();
    window = StartOnTheFailureView();
    ASSERT_TRUE(window);
    Session::Driver().pressKey(window, testsupport::Key::Enter);
    EXPECT_TRUE(WaitForExit());
}

} // namespace
} // namespace e2e
