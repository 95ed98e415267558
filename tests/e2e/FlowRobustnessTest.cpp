// The window under races and faults: what arrives while the user is asked,
// a connection probe that changes its mind, messages from outside, two copies
// at once, a full disk, a job that cannot start, the last events at the end.
#include "tests/e2e/InstallerSession.h"
#include "tests/e2e/UsageEvents.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testsupport::StandinAnswer;

constexpr int kYes = 6;
constexpr int kNo = 7;
// The dialog manager's own messages, WM_USER+1 and WM_USER+2.
constexpr unsigned kDmSetDefId = 0x0401;
constexpr unsigned kDmReposition = 0x0402;

class FlowRobustness : public InstallerTest {
protected:
    testsupport::MessageBoxInfo Confirmation(WindowHandle window) {
        const auto box = Session::Driver().waitForMessageBox(window, 30s);
        if (!box) {
            ADD_FAILURE() << "no confirmation box";
            return {};
        }
        return *box;
    }

    // True once the update server has sent its whole answer.
    static bool UpdateAnswered() {
        const auto deadline = std::chrono::steady_clock::now() + 30s;
        while (std::chrono::steady_clock::now() < deadline) {
            for (const auto& request : Session::Standin().requests(testsupport::kStandinUpdate)) {
                if (request.outcome == "complete")
                    return true;
            }
            std::this_thread::sleep_for(20ms);
        }
        return false;
    }

    static size_t PackageRequests() {
        return Session::Standin().requests(testsupport::kStandinPackage).size();
    }

    static size_t Count(const std::vector<UsageEvent>& events, const std::string& name) {
        return static_cast<size_t>(std::count_if(
            events.begin(), events.end(), [&](const UsageEvent& e) { return e.Name() == name; }));
    }

    // The answer of the connection probe of the test build, changeable while
    // the installer runs.
    std::string ProbeFile(bool connected) {
        const std::string path = workDir + "/connected";
        std::ofstream(path, std::ios::trunc) << (connected ? '1' : '0');
        return path;
    }
};

// Escape at once, while the package URL is still on its way: the URL that
// arrives while the question is open waits for the answer.
TEST_F(FlowRobustness, NothingStartsWhileTheCloseQuestionIsOpen) {
    for (const int answer : {kNo, kYes}) {
        SCOPED_TRACE(answer == kNo ? "No" : "Yes");
        Session::Standin().reset();
        fs::remove_all(SetupFolder());
        ServeStandinSetup();
        StandinAnswer late;
        late.delayMs = 3000;
        Session::Standin().script(testsupport::kStandinUpdate, {late});
        Start();
        const WindowHandle window = WaitForWindow();
        Session::Driver().pressKey(window, testsupport::Key::Escape);
        const testsupport::MessageBoxInfo box = Confirmation(window);
        ASSERT_TRUE(UpdateAnswered());
        std::this_thread::sleep_for(2s); // time enough for a download to have started
        EXPECT_EQ(PackageRequests(), 0u) << "no download under the open question";
        EXPECT_FALSE(FileExists(SetupStartedMarker()));

        Session::Driver().answerMessageBox(box, answer);
        ASSERT_TRUE(WaitForExit(120s));
        if (answer == kNo) {
            EXPECT_TRUE(WaitForSetupStarted()) << "after No the held URL is used";
        } else {
            EXPECT_EQ(PackageRequests(), 0u) << "after Yes the held URL is dropped";
            EXPECT_FALSE(FileExists(SetupStartedMarker()));
        }
        StopAll();
    }
}

// The signature check runs beside the window (held here for a few seconds):
// the window answers meanwhile, and a close confirmed before the check ends,
// or after its verdict came under the open question, never opens the setup
// program and leaves nothing under its name.
TEST_F(FlowRobustness, TheWindowCanBeClosedWhileTheSetupIsChecked) {
    struct Case {
        const char* name;
        const char* checkDelayMs;
        std::chrono::milliseconds questionOpen; // before it is answered
        int answer;
    };
    for (const Case& c : {Case{"No during the check", "5000", 0ms, kNo},
                          Case{"Yes during the check", "5000", 0ms, kYes},
                          Case{"Yes after the verdict", "300", 3000ms, kYes}}) {
        SCOPED_TRACE(c.name);
        Session::Standin().reset();
        fs::remove_all(SetupFolder());
        ServeStandinSetup();
        Launch launch;
        launch.environment["KESTRIX_TEST_DELAY_SIGNATURE_CHECK_MS"] = c.checkDelayMs;
        Start(launch);
        const WindowHandle window = WaitForWindow();
        ASSERT_TRUE(Session::Driver().waitForProgress(
            window, kProgress, [](const testsupport::ProgressInfo& bar) { return bar.pos == 100; },
            60s));
        Session::Driver().pressKey(window, testsupport::Key::Escape);
        const testsupport::MessageBoxInfo box = Confirmation(window);
        EXPECT_FALSE(FileExists(SetupStartedMarker())) << "the question comes before the hand-off";
        std::this_thread::sleep_for(c.questionOpen);
        Session::Driver().answerMessageBox(box, c.answer);
        ASSERT_TRUE(WaitForExit(120s));
        if (c.answer == kNo) {
            EXPECT_TRUE(WaitForSetupStarted()) << "after No the check's outcome is used";
        } else {
            EXPECT_FALSE(FileExists(SetupStartedMarker()));
            EXPECT_FALSE(FileExists(SetupFile()))
                << "a setup that was not handed off does not stay";
        }
        StopAll();
    }
}

// The probe says "not connected" by the time the user answers: the answer
// is obeyed all the same.
TEST_F(FlowRobustness, TheAnswerHoldsWhateverTheConnectionProbeSays) {
    for (const int answer : {kNo, kYes}) {
        SCOPED_TRACE(answer == kNo ? "No" : "Yes");
        Session::Standin().reset();
        fs::remove_all(SetupFolder());
        const testsupport::StandinPackage package = ServeStandinSetup();
        SlowPackageHost();
        Launch launch;
        launch.environment["KESTRIX_TEST_CONNECTIVITY_FILE"] = ProbeFile(true);
        Start(launch);
        const WindowHandle window = WaitForWindow();
        ASSERT_TRUE(WaitForTitle(window, kDownloading));
        Session::Driver().pressKey(window, testsupport::Key::Escape);
        const testsupport::MessageBoxInfo box = Confirmation(window);
        ProbeFile(false);
        Session::Driver().answerMessageBox(box, answer);
        ASSERT_TRUE(WaitForExit(120s)) << "the window must not stay frozen";
        if (answer == kNo) {
            EXPECT_TRUE(WaitForSetupStarted()) << "the resumed download completes";
            EXPECT_EQ(Sha256OfFile(SetupFile()), package.sha256);
        } else {
            EXPECT_FALSE(FileExists(SetupStartedMarker()));
        }
        StopAll();
    }
}

// DM_SETDEFID and DM_REPOSITION are the dialog manager's, and anyone may
// send them: they must not act as the installer's own messages.
TEST_F(FlowRobustness, TheDialogManagersMessagesDoNothingOfOurs) {
    const testsupport::StandinPackage package = ServeStandinSetup();
    SlowPackageHost();
    Start();
    WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kDownloading));
    Session::Driver().postMessage(window, kDmReposition, 0, 0);
    Session::Driver().postMessage(window, kDmSetDefId, 1, 0);
    ASSERT_TRUE(WaitForExit(120s));
    EXPECT_TRUE(WaitForSetupStarted());
    EXPECT_EQ(Sha256OfFile(SetupFile()), package.sha256) << "opened only once complete";
    EXPECT_EQ(PackageRequests(), 1u);

    // On the failure view: no new attempt, no second failure.
    Session::Standin().reset();
    window = StartOnTheFailureView();
    ASSERT_TRUE(window);
    Session::Driver().postMessage(window, kDmSetDefId, 1, 0);
    Session::Driver().postMessage(window, kDmReposition, 0, 0);
    std::this_thread::sleep_for(2s);
    EXPECT_EQ(Session::Standin().requests(testsupport::kStandinUpdate).size(), 1u);
    EXPECT_EQ(Count(CollectedEvents(), "p FailDownloading"), 1u);
    EXPECT_TRUE(processes.back()->running());
}

// Two copies under the installer's name, the second 100 ms after the first:
// the first goes on, the second ends, every time.
TEST_F(FlowRobustness, OfTwoCopiesStartedTogetherExactlyOneGoesOn) {
    StandinAnswer held;
    held.delayMs = 60000;
    Session::Standin().script(testsupport::kStandinUpdate, {held}, /*thenDefault=*/false);
    for (int round = 0; round < 20; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        testsupport::WineProcess& first = Start();
        std::this_thread::sleep_for(100ms);
        testsupport::WineProcess& second = Start();
        ASSERT_TRUE(second.waitForExit(60s).has_value()) << "the later copy ends";
        EXPECT_TRUE(first.running()) << "the earlier copy goes on";
        testsupport::WindowQuery query;
        query.exe = "KestrixOfficeInstaller.exe";
        query.className = "#32770";
        EXPECT_TRUE(Session::Driver().waitForWindow(query, 30s).has_value());
        const auto windows = Session::Driver().windows(query);
        EXPECT_EQ(std::count_if(windows.begin(), windows.end(),
                                [](const testsupport::TopLevelWindow& w) { return w.visible; }),
                  1);
        StopAll();
    }
}

// Writes fail beyond 4 MiB, as on a full disk: the download ends there as a
// failure instead of fetching the rest, and nothing is opened.
TEST_F(FlowRobustness, AFullDiskEndsTheDownloadAsAFailure) {
    const testsupport::StandinPackage package = ServeStandinSetup(12 << 20);
    StandinAnswer paced;
    paced.package = "KestrixOfficeSetup.exe";
    paced.chunkBytes = 65536;
    paced.chunkDelayMs = 20;
    Session::Standin().script(testsupport::kStandinPackage, {paced});
    Launch launch;
    launch.fileSizeLimit = 4 << 20;
    Start(launch);
    const WindowHandle window = WaitForWindow();
    ASSERT_TRUE(WaitForTitle(window, kFailed));
    EXPECT_FALSE(FileExists(SetupStartedMarker()));
    const auto sent = Session::Standin().requests(testsupport::kStandinPackage);
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_LT(sent[0].bodyBytesSent, package.size) << "the rest was not fetched";
}

// With no thread to run its job, the attempt fails where the user can retry.
TEST_F(FlowRobustness, AJobThatCannotStartGivesTheFailureView) {
    EXPECT_TRUE(StartOnTheFailureViewWith("KESTRIX_TEST_NO_THREADS"));
}

// The collector holds each connection a second before it reads it, as a
// distant one in the middle of a TLS handshake would: the events of a
// confirmed cancel still arrive, for the process waits for their uploads.
TEST_F(FlowRobustness, TheLastEventsArriveThoughTheProcessEndsRightAfter) {
    StandinAnswer slow;
    slow.holdBeforeReadMs = 1000;
    for (const bool duringDownload : {true, false}) {
        SCOPED_TRACE(duringDownload ? "Yes during the download" : "Yes on the failure view");
        Session::Standin().reset();
        Session::Standin().script(testsupport::kStandinCollector, {slow}, /*thenDefault=*/false);
        WindowHandle window = 0;
        if (duringDownload) {
            ServeStandinSetup();
            SlowPackageHost();
            Start();
            window = WaitForWindow();
            ASSERT_TRUE(WaitForTitle(window, kDownloading));
        } else {
            window = StartOnTheFailureView();
            ASSERT_TRUE(window);
        }
        Session::Driver().closeWindow(window);
        Session::Driver().answerMessageBox(Confirmation(window), kYes);
        ASSERT_TRUE(WaitForExit(60s));
        std::this_thread::sleep_for(1500ms); // the collector's hold on the last one
        EXPECT_EQ(Count(CollectedEvents(), "e CancelInstall/Yes"), 1u);
        StopAll();
    }
}

} // namespace
} // namespace e2e
