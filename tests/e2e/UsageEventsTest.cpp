// The usage events the collector receives for what the user sees and does,
// and the documents that carry them.
#include "tests/e2e/UsageEvents.h"
#include "tests/e2e/InstallerSession.h"

#include <thread>

namespace e2e {
namespace {

using testsupport::StandinAnswer;
using Names = std::vector<std::string>;

constexpr int kYes = 6;
constexpr int kNo = 7;
// A server clock far from now, so that readings taken from it stand out.
constexpr int64_t kServerTime = 1386561234567;

class UsageEvents : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        Session::Standin().setServerTime(kServerTime);
    }

    // The events that arrived once the installer has ended: nothing more can
    // come then.
    std::vector<UsageEvent> EventsAfterExit() {
        EXPECT_TRUE(WaitForExit(120s));
        return CollectedEvents();
    }

    static Names Sorted(Names names) {
        std::sort(names.begin(), names.end());
        return names;
    }

    WindowHandle WaitForConfirmationAndAnswer(WindowHandle window, int answer) {
        const auto box = Session::Driver().waitForMessageBox(window, 30s);
        if (box)
            Session::Driver().answerMessageBox(*box, answer);
        else
            ADD_FAILURE() << "no confirmation box";
        return window;
    }
};

// Keys, types and values every document carries.
void ExpectWellFormed(const UsageEvent& event, const std::string& deviceId) {
    SCOPED_TRACE(event.Name());
    EXPECT_TRUE(IsCanonicalCompactDocument(event.body)) << event.body;
    const Json::Value& doc = event.document;
    const Json::Value& ctx = doc["ctx"];
    EXPECT_EQ(ctx["bid"].asString(), deviceId);
    EXPECT_TRUE(ctx["nos"].isBool() && ctx["nos"].asBool());
    EXPECT_TRUE(ctx["ts"].isIntegral());
    EXPECT_EQ(ctx["ts"].asInt64(), static_cast<int64_t>(ctx["tms"].asDouble() / 1000));
    EXPECT_EQ(ctx["tzid"].asString(), "Korea Standard Time");
    EXPECT_EQ(ctx["tzos"].asInt(), 32400);
    EXPECT_EQ(doc["ti"]["v"].asString(), "1.1");
    EXPECT_EQ(doc["obj"]["dp"].asString(), "InstallManager");
    EXPECT_EQ(doc["ui"]["ua"].asString(), event.userAgentHeader);
    EXPECT_EQ(event.userAgentHeader.rfind("Kestrix/5.0 (pc, Windows 7/6.1, ko-KR) "
                                          "KestrixDownloader/8.1.13.27212.PROD",
                                          0),
              0u);
    EXPECT_TRUE(doc["ui"]["ip"].isString());
    if (event.kind == "p") {
        EXPECT_EQ(doc["cobj"]["managerName"].asString(), "KestrixOfficeInstaller");
        EXPECT_FALSE(doc["obj"].isMember("ec"));
        EXPECT_FALSE(doc["obj"].isMember("el"));
    } else {
        EXPECT_FALSE(doc.isMember("cobj"));
        EXPECT_EQ(doc["obj"]["ec"].asString(), "ux");
        EXPECT_EQ(doc["obj"]["ea"].asString(), "cl");
    }
}

Launch Korean() {
    Launch launch;
    launch.environment = {{"TZ", "Asia/Seoul"}, {"LANG", "ko_KR.UTF-8"}, {"LC_ALL", "ko_KR.UTF-8"}};
    return launch;
}

TEST_F(UsageEvents, TheMainJobReportsItsTwoScreensInWellFormedDocuments) {
    ServeStandinSetup();
    // Uploads still in flight when the installer ends are not waited for:
    // give them the few seconds of a real download.
    SlowPackageHost();
    Start(Korean());
    const std::vector<UsageEvent> events = EventsAfterExit();
    EXPECT_EQ(SortedNames(events), Sorted({"p ConnectInternet", "p Downloading"}));
    const std::string deviceId = ExpectedDeviceId();
    for (const UsageEvent& event : events)
        ExpectWellFormed(event, deviceId);
    // The first reading precedes any server time; once the log-configuration
    // server has answered, readings follow its clock.
    ASSERT_EQ(events.size(), 2u);
    EXPECT_GT(events[1].tms, 0);
    const auto serverTimes = Session::Standin().requests(testsupport::kStandinLogConf);
    EXPECT_FALSE(serverTimes.empty()) << "the clock asks the server for its time";
}

TEST_F(UsageEvents, ReadingsFollowTheServersClockOnceItHasAnswered) {
    ServeStandinSetup();
    SlowPackageHost();
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kDownloading));
    Session::Standin().waitForRequests(testsupport::kStandinLogConf, 1, 30s);
    // A close request now reads the synchronised clock.
    std::this_thread::sleep_for(500ms);
    Session::Driver().closeWindow(window);
    WaitForConfirmationAndAnswer(window, kNo);
    const std::vector<UsageEvent> events = EventsAfterExit();
    bool sawServerClock = false;
    for (const UsageEvent& event : events) {
        if (event.screen == "CancelInstall" || event.label == "Close") {
            EXPECT_GE(event.tms, static_cast<double>(kServerTime)) << event.Name();
            EXPECT_LT(event.tms, static_cast<double>(kServerTime + 600000)) << event.Name();
            sawServerClock = true;
        }
    }
    EXPECT_TRUE(sawServerClock);
}

TEST_F(UsageEvents, FailureRetryAndHelpAreReported) {
    ServeStandinSetup();
    Session::Standin().script(testsupport::kStandinUpdate,
                              {StandinAnswer::json("{\"resultCode\":1}")}, /*thenDefault=*/true);
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kFailed));
    Session::Driver().clickLink(window, kHelpLink, 0);
    Session::Standin().waitForRequests(testsupport::kStandinCollector, 3, 30s);
    Session::Driver().clickButton(window, kRetry);
    const std::vector<UsageEvent> events = EventsAfterExit();
    EXPECT_EQ(SortedNames(events),
              Sorted({"p ConnectInternet", "p FailDownloading", "e FailDownloading/Support",
                      "e FailDownloading/Retry", "p ConnectInternet", "p Downloading"}));
}

TEST_F(UsageEvents, ACloseAnsweredNoReportsCloseTheQuestionAndTheAnswerInOrder) {
    ServeStandinSetup();
    SlowPackageHost();
    Start();
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kDownloading));
    Session::Driver().closeWindow(window);
    WaitForConfirmationAndAnswer(window, kNo);
    const std::vector<UsageEvent> events = EventsAfterExit();
    EXPECT_EQ(SortedNames(events),
              Sorted({"p ConnectInternet", "p Downloading", "e Downloading/Close",
                      "p CancelInstall", "e CancelInstall/No"}));
    Names closing;
    for (const UsageEvent& event : events) {
        if (event.Name() != "p ConnectInternet" && event.Name() != "p Downloading")
            closing.push_back(event.Name());
    }
    EXPECT_EQ(closing, Names({"e Downloading/Close", "p CancelInstall", "e CancelInstall/No"}));
}

TEST_F(UsageEvents, ACloseBeforeAnyProgressNamesTheScreenShown) {
    WindowHandle window = StartOnTheFailureView();
    ASSERT_TRUE(window);
    Session::Driver().closeWindow(window);
    WaitForConfirmationAndAnswer(window, kNo);
    Session::Standin().waitForRequests(testsupport::kStandinCollector, 5, 30s);
    Session::Driver().pressKey(window, testsupport::Key::Enter);
    EXPECT_EQ(SortedNames(EventsAfterExit()),
              Sorted({"p ConnectInternet", "p FailDownloading", "e FailDownloading/Close",
                      "p CancelInstall", "e CancelInstall/No"}));
}

TEST_F(UsageEvents, AnInstallerRenamedInAnotherScriptNamesItselfInRawUtf8) {
    Session::Standin().script(testsupport::kStandinUpdate,
                              {StandinAnswer::json("{\"resultCode\":1}")});
    Launch launch;
    launch.exeName = "설치관리자.exe";
    Start(launch);
    const WindowHandle window = WaitForWindow(launch.exeName);
    ASSERT_TRUE(WaitForTitle(window, kFailed));
    Session::Standin().waitForRequests(testsupport::kStandinCollector, 2, 30s);
    Session::Driver().pressKey(window, testsupport::Key::Enter);
    const std::vector<UsageEvent> events = EventsAfterExit();
    ASSERT_FALSE(events.empty());
    for (const UsageEvent& event : events) {
        EXPECT_EQ(event.document["cobj"]["managerName"].asString(), "설치관리자");
        EXPECT_NE(event.body.find("{\"managerName\":\"설치관리자\"}"), std::string::npos)
            << event.body;
    }
}

} // namespace
} // namespace e2e
