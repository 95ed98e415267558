// The installer's lifecycle run many times with the user acting at a random
// moment: no crash, no hang, no crash report, no process left behind.
// KESTRIX_STRESS_RUNS sets the runs of each (`make stress`: 50; `make test`
// runs a few); KESTRIX_STRESS_SEED repeats a run's moments.
#include "tests/e2e/InstallerSession.h"

#include <cstdlib>
#include <random>
#include <thread>

namespace e2e {
namespace {

using testsupport::StandinAnswer;

constexpr int kYes = 6;

int Runs() {
    const char* runs = std::getenv("KESTRIX_STRESS_RUNS");
    const int value = runs ? std::atoi(runs) : 0;
    return value > 0 ? value : 3;
}

class LifecycleStress : public InstallerTest {
protected:
    void SetUp() override {
        InstallerTest::SetUp();
        const char* seed = std::getenv("KESTRIX_STRESS_SEED");
        seed_ =
            seed ? static_cast<unsigned>(std::strtoul(seed, nullptr, 10)) : std::random_device{}();
        random_.seed(seed_);
        RecordProperty("seed", static_cast<int>(seed_));
    }

    std::chrono::milliseconds Moment(int maxMs) {
        return std::chrono::milliseconds(std::uniform_int_distribution<int>(0, maxMs)(random_));
    }

    // The run ended by itself, cleanly: status 0 and no crash report.
    void ExpectCleanEnd(testsupport::WineProcess& process) {
        const auto status = process.waitForExit(60s);
        ASSERT_TRUE(status.has_value()) << "hangs (seed " << seed_ << ")";
        EXPECT_EQ(*status, 0) << process.log();
        EXPECT_EQ(process.log().find("Unhandled"), std::string::npos) << process.log();
    }

    void EndRound() {
        StopAll();
        Session::Standin().reset();
    }

    // Starts a copy, presses Enter at a random moment up to maxMs after its
    // window shows, and expects it to end cleanly.
    void EnterWithin(int maxMs) {
        testsupport::WineProcess& installer = Start();
        const WindowHandle window = WaitForWindow();
        std::this_thread::sleep_for(Moment(maxMs));
        Session::Driver().pressKey(window, testsupport::Key::Enter);
        ExpectCleanEnd(installer);
        EndRound();
    }

    unsigned seed_ = 0;
    std::mt19937 random_;
};

TEST_F(LifecycleStress, YesAtARandomMomentOfTheDownload) {
    for (int run = 0; run < Runs(); ++run) {
        ServeStandinSetup();
        SlowPackageHost();
        testsupport::WineProcess& installer = Start();
        const WindowHandle window = WaitForWindow();
        // The whole download takes several seconds: the close comes before its end.
        std::this_thread::sleep_for(Moment(3000));
        Session::Driver().closeWindow(window);
        const auto box = Session::Driver().waitForMessageBox(window, 30s);
        ASSERT_TRUE(box.has_value()) << "seed " << seed_;
        Session::Driver().answerMessageBox(*box, kYes);
        ExpectCleanEnd(installer);
        EXPECT_FALSE(FileExists(SetupStartedMarker())) << "seed " << seed_;
        EndRound();
    }
}

TEST_F(LifecycleStress, EnterAtARandomMoment) {
    for (int run = 0; run < Runs(); ++run) {
        ServeStandinSetup();
        SlowPackageHost();
        EnterWithin(3000);
    }
}

TEST_F(LifecycleStress, TwoCopiesStartedTogether) {
    StandinAnswer held;
    held.delayMs = 60000;
    for (int run = 0; run < Runs(); ++run) {
        Session::Standin().script(testsupport::kStandinUpdate, {held}, /*thenDefault=*/false);
        testsupport::WineProcess& first = Start();
        std::this_thread::sleep_for(Moment(50));
        testsupport::WineProcess& second = Start();
        // Started this close together, Wine may create the later one first:
        // the one it created first goes on, the other ends by itself.
        const auto deadline = std::chrono::steady_clock::now() + 60s;
        while (first.running() && second.running() && std::chrono::steady_clock::now() < deadline)
            std::this_thread::sleep_for(20ms);
        const bool firstGoesOn = first.running();
        ExpectCleanEnd(firstGoesOn ? second : first);
        EXPECT_TRUE((firstGoesOn ? first : second).running()) << "seed " << seed_;
        EndRound();
    }
}

// Enter right after a close event, a page view and the first readings of the
// clock: uploads and server-time requests are in flight when the window ends.
TEST_F(LifecycleStress, TheWindowEndsWhileUploadsAreInFlight) {
    StandinAnswer slow;
    slow.delayMs = 300;
    for (int run = 0; run < Runs(); ++run) {
        Session::Standin().script(testsupport::kStandinCollector, {slow}, /*thenDefault=*/false);
        Session::Standin().script(testsupport::kStandinLogConf, {slow}, /*thenDefault=*/false);
        Session::Standin().script(testsupport::kStandinUpdate,
                                  {StandinAnswer::json("{\"resultCode\":1}")});
        EnterWithin(500);
    }
}

} // namespace
} // namespace e2e
