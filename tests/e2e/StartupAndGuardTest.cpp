// Starting the installer, and the rule that only one copy runs.
#include "tests/e2e/InstallerSession.h"

namespace e2e {
namespace {

class StartupAndGuard : public InstallerTest {
protected:
    // The first copy, running with its window shown and its package URL job
    // held back by a slow update server, so that nothing ends it meanwhile.
    WindowHandle StartFirstCopy(const std::string& exeName) {
        HoldUpdateServer();
        Launch launch;
        launch.exeName = exeName;
        Start(launch);
        const WindowHandle window = WaitForWindow(exeName);
        Session::Standin().waitForRequests(testsupport::kStandinUpdate, 1, 30s);
        return window;
    }

    size_t UpdateRequests() {
        return Session::Standin().requests(testsupport::kStandinUpdate).size();
    }

    // Holds the package URL request, so that the connecting view stays.
    static void HoldUpdateServer() {
        testsupport::StandinAnswer slow;
        slow.delayMs = 60000;
        Session::Standin().script(testsupport::kStandinUpdate, {slow});
    }
};

TEST_F(StartupAndGuard, OpensItsWindowAndAsksForThePackage) {
    HoldUpdateServer();
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kConnecting));
    const WindowInfo info = Read(window);
    EXPECT_EQ(info.caption, kCaption);
    EXPECT_EQ(info.className, "#32770");
    EXPECT_TRUE(Visible(info, kPicture));
    EXPECT_TRUE(Visible(info, kProgress));
    EXPECT_FALSE(Visible(info, kRetry));
    EXPECT_FALSE(Visible(info, kOk));
    EXPECT_EQ(
        Session::Standin().waitForRequests(testsupport::kStandinUpdate, 1, 30s).at(0).requestLine,
        "POST /api/1/update/pcoffice/packageurl HTTP/1.0");
}

TEST_F(StartupAndGuard, OfflineItShowsTheNoConnectionViewAndStartsNoJob) {
    Start(Offline());
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kNoConnection));
    const WindowInfo info = Read(window);
    EXPECT_TRUE(Visible(info, kDescription));
    EXPECT_TRUE(Visible(info, kClose));
    EXPECT_EQ(info.focus, kClose);
    EXPECT_FALSE(Visible(info, kRetry));
    EXPECT_FALSE(Visible(info, kHelpLink));
    Session::Driver().clickButton(window, kClose);
    ASSERT_TRUE(WaitForExit());
    EXPECT_TRUE(Session::Standin().requests().empty()) << "offline, nothing is sent";
}

TEST_F(StartupAndGuard, ASecondCopyNamedLikeTheInstallerEndsAtStartUp) {
    StartFirstCopy("KestrixOfficeInstaller.exe");
    const size_t before = UpdateRequests();
    testsupport::WineProcess& second = Start(Offline());
    EXPECT_TRUE(second.waitForExit(60s).has_value()) << "the second copy ends by itself";
    EXPECT_EQ(UpdateRequests(), before) << "and starts no job";
    EXPECT_TRUE(processes.front()->running()) << "the first copy is not told anything";
}

TEST_F(StartupAndGuard, ACopyUnderAnotherNameIsStoppedByTheInstaller) {
    StartFirstCopy("KestrixOfficeInstaller.exe");
    testsupport::WineProcess& second = Start(Offline("KestrixOfficeInstaller (1).exe"));
    EXPECT_TRUE(second.waitForExit(60s).has_value());
}

TEST_F(StartupAndGuard, ARunningCopyUnderAnotherNameStopsNobody) {
    for (const std::string& firstName : {std::string("KestrixOfficeInstaller (1).exe"),
                                         std::string("kestrixofficeinstaller.exe")}) {
        StartFirstCopy(firstName);
        testsupport::WineProcess& second = Start(Offline());
        // Only the second copy is offline.
        EXPECT_TRUE(WaitForWindowWithTitle(kNoConnection)) << "beside " << firstName;
        EXPECT_TRUE(second.running());
        StopAll();
    }
}

} // namespace
} // namespace e2e
