// What each fault of a service or of the disk leads to, end to end: the view,
// the files, the events, and a process that neither crashes nor hangs and
// ends with status 0.
#include "tests/e2e/InstallerSession.h"
#include "tests/e2e/UsageEvents.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <thread>

namespace e2e {
namespace {

namespace fs = std::filesystem;
using testsupport::StandinAnswer;
using testsupport::StandinCertificate;

constexpr int kYes = 6;

enum class Outcome {
    Installs,     // the setup program is opened
    FailureView,  // the failure view with Retry; nothing is opened
    EndsOnCancel, // the attempt goes on; the window answers and a confirmed close ends it
};

// What a case needs while it runs.
struct CaseContext {
    testsupport::StandinPackage package;
    std::string setupFolder;         // as a Linux path
    std::string setupPathForWindows; // the setup file as the installer names it
};

struct Fault {
    const char* name;
    Outcome outcome;
    // Sets the fault up once the package is served.
    std::function<void(CaseContext&)> arrange;
    bool eventsDelivered = true;
    // Another program's file stands where the setup program goes: it is left alone.
    bool setupPathTakenByOthers = false;
};

testsupport::StandinClient Services() {
    return Session::Standin();
}

void Script(const char* service, std::vector<StandinAnswer> answers, bool thenDefault = true) {
    Services().script(service, std::move(answers), thenDefault);
}

StandinAnswer PackageAnswer() {
    StandinAnswer answer;
    answer.package = "KestrixOfficeSetup.exe";
    return answer;
}

std::string PackageUrlAnswer(const std::string& url) {
    return "{\"resultCode\":0,\"url\":\"" + url + "\"}";
}

const Fault kFaults[] = {
    // The update server.
    {"UpdateRefused", Outcome::FailureView,
     [](CaseContext&) { Services().setServiceDown(testsupport::kStandinUpdate, true); }},
    {"Update404", Outcome::FailureView,
     [](CaseContext&) { Script(testsupport::kStandinUpdate, {StandinAnswer::withStatus(404)}); }},
    {"Update500", Outcome::FailureView,
     [](CaseContext&) { Script(testsupport::kStandinUpdate, {StandinAnswer::withStatus(500)}); }},
    {"Update503", Outcome::FailureView,
     [](CaseContext&) { Script(testsupport::kStandinUpdate, {StandinAnswer::withStatus(503)}); }},
    {"UpdateAnswerNotJson", Outcome::FailureView,
     [](CaseContext&) {
         Script(testsupport::kStandinUpdate, {StandinAnswer::json("<html>maintenance</html>")});
     }},
    {"UpdateAnswerOverTwoLines", Outcome::Installs,
     [](CaseContext& c) {
         Script(testsupport::kStandinUpdate,
                {StandinAnswer::json(PackageUrlAnswer(c.package.url) + "\n{\"url\":\"x\"}")});
     }},
    {"UpdateAnswerOf10MiB", Outcome::FailureView,
     [](CaseContext& c) {
         Script(testsupport::kStandinUpdate,
                {StandinAnswer::json("{\"resultCode\":0,\"url\":\"" + c.package.url + "\"" +
                                     std::string(10 << 20, ' ') + "}")});
     }},
    // The package host.
    {"PackageRefused", Outcome::FailureView,
     [](CaseContext&) { Services().setServiceDown(testsupport::kStandinPackage, true); }},
    {"PackageStallsPastTheReceiveTimeout", Outcome::FailureView,
     [](CaseContext&) {
         StandinAnswer stall = PackageAnswer();
         stall.stallAfterBytes = 100000;
         Script(testsupport::kStandinPackage, {stall});
     }},
    {"PackageResetMidway", Outcome::FailureView,
     [](CaseContext&) {
         StandinAnswer reset = PackageAnswer();
         reset.resetAfterBytes = 1 << 20;
         Script(testsupport::kStandinPackage, {reset});
     }},
    {"PackageShorterThanItsLength", Outcome::FailureView,
     [](CaseContext& c) {
         StandinAnswer longer = PackageAnswer();
         longer.contentLength = c.package.size + 4096;
         Script(testsupport::kStandinPackage, {longer});
     }},
    {"PackageLongerThanItsLength", Outcome::FailureView,
     [](CaseContext& c) {
         StandinAnswer shorter = PackageAnswer();
         shorter.contentLength = c.package.size - 4096;
         Script(testsupport::kStandinPackage, {shorter});
     }},
    {"PackageBehindARedirectChain", Outcome::Installs,
     [](CaseContext& c) {
         Script(testsupport::kStandinPackage,
                {StandinAnswer::redirectTo(c.package.url), StandinAnswer::redirectTo(c.package.url),
                 StandinAnswer::redirectTo(c.package.url)});
     }},
    // WinINet on Windows gives up after its own number of redirects; Wine's
    // follows them without end. Either way the window must stay in the
    // user's hands.
    {"PackageInARedirectLoop", Outcome::EndsOnCancel,
     [](CaseContext& c) {
         Script(testsupport::kStandinPackage, {StandinAnswer::redirectTo(c.package.url)},
                /*thenDefault=*/false);
     }},
    {"Package404", Outcome::FailureView,
     [](CaseContext&) { Script(testsupport::kStandinPackage, {StandinAnswer::withStatus(404)}); }},
    {"Package500", Outcome::FailureView,
     [](CaseContext&) { Script(testsupport::kStandinPackage, {StandinAnswer::withStatus(500)}); }},
    {"Package503", Outcome::FailureView,
     [](CaseContext&) { Script(testsupport::kStandinPackage, {StandinAnswer::withStatus(503)}); }},
    // The log services: usage events are never worth a failed install.
    {"LogConfigRefused", Outcome::Installs,
     [](CaseContext&) { Services().setServiceDown(testsupport::kStandinLogConf, true); }},
    {"LogConfig500", Outcome::Installs,
     [](CaseContext&) {
         Script(testsupport::kStandinLogConf, {StandinAnswer::withStatus(500)}, false);
     }},
    {"LogConfigUntrustedCertificate", Outcome::Installs,
     [](CaseContext&) {
         Services().setCertificate(testsupport::kStandinLogConf, StandinCertificate::Untrusted);
     }},
    {"LogConfigCertificateForAnotherHost", Outcome::Installs,
     [](CaseContext&) {
         Services().setCertificate(testsupport::kStandinLogConf, StandinCertificate::WrongHost);
     }},
    {"CollectorDownThroughout", Outcome::Installs,
     [](CaseContext&) { Services().setServiceDown(testsupport::kStandinCollector, true); }, false},
    {"Collector503", Outcome::Installs,
     [](CaseContext&) {
         Script(testsupport::kStandinCollector, {StandinAnswer::withStatus(503)}, false);
     }},
    {"CollectorUntrustedCertificate", Outcome::Installs,
     [](CaseContext&) {
         Services().setCertificate(testsupport::kStandinCollector, StandinCertificate::Untrusted);
     },
     false},
    {"CollectorCertificateForAnotherHost", Outcome::Installs,
     [](CaseContext&) {
         Services().setCertificate(testsupport::kStandinCollector, StandinCertificate::WrongHost);
     },
     false},
    // The disk.
    {"SetupFileHeldOpenByAnotherProgram", Outcome::FailureView,
     [](CaseContext& c) {
         fs::create_directories(c.setupFolder);
         Session::Driver().holdFile(c.setupPathForWindows);
     },
     true, true},
    {"AFileWhereTheSetupFolderBelongs", Outcome::FailureView,
     [](CaseContext& c) {
         const fs::path folder = c.setupFolder;
         fs::create_directories(folder.parent_path());
         std::ofstream(folder) << "not a folder";
     }},
};

// The Linux path as Wine's Z: drive names it.
std::string OnDriveZ(const std::string& path) {
    std::string windows = "Z:" + fs::absolute(path).string();
    for (char& c : windows)
        if (c == '/')
            c = '\\';
    return windows;
}

class FaultMatrix : public InstallerTest, public ::testing::WithParamInterface<Fault> {
protected:
    void TearDown() override {
        Services().reset();
        if (!context_.setupPathForWindows.empty())
            Session::Driver().releaseFile(context_.setupPathForWindows);
        std::error_code ignored;
        fs::remove(SetupFolder(), ignored); // the plain file of one case
        InstallerTest::TearDown();
    }

    CaseContext context_;
};

TEST_P(FaultMatrix, Outcome) {
    const Fault& fault = GetParam();
    context_.package = ServeStandinSetup();
    context_.setupFolder = SetupFolder();
    context_.setupPathForWindows = OnDriveZ(SetupFile());
    fault.arrange(context_);
    testsupport::WineProcess& installer = Start();
    const WindowHandle window = WaitForWindow();

    if (fault.outcome == Outcome::Installs) {
        const auto status = installer.waitForExit(120s);
        ASSERT_TRUE(status.has_value()) << "hangs";
        EXPECT_EQ(*status, 0);
        EXPECT_TRUE(WaitForSetupStarted());
        EXPECT_EQ(Sha256OfFile(SetupFile()), context_.package.sha256);
    } else {
        if (fault.outcome == Outcome::FailureView) {
            // A stall ends at the receive timeout on Windows; under Wine only
            // when the host gives up, after 120 s.
            ASSERT_TRUE(Session::Driver().waitForControlText(window, kTitle, kFailed, 180s));
            EXPECT_TRUE(Visible(Read(window), kRetry));
        } else {
            std::this_thread::sleep_for(2s);
            EXPECT_TRUE(installer.running());
        }
        EXPECT_FALSE(FileExists(SetupStartedMarker()));
        if (!fault.setupPathTakenByOthers) {
            EXPECT_FALSE(FileExists(SetupFile()))
                << "what arrived does not stay under the setup's name";
        }
        // The user gives up: the window ends cleanly.
        Session::Driver().closeWindow(window);
        const auto box = Session::Driver().waitForMessageBox(window, 30s);
        ASSERT_TRUE(box.has_value());
        Session::Driver().answerMessageBox(*box, kYes);
        const auto status = installer.waitForExit(60s);
        ASSERT_TRUE(status.has_value()) << "hangs";
        EXPECT_EQ(*status, 0);
        if (!fault.setupPathTakenByOthers) {
            EXPECT_FALSE(FileExists(SetupFile())) << "nothing is left at the end";
        }
    }
    EXPECT_EQ(installer.log().find("Unhandled"), std::string::npos) << installer.log();
    if (!fault.eventsDelivered)
        EXPECT_TRUE(CollectedEvents().empty());
    else
        EXPECT_FALSE(CollectedEvents().empty());
}

INSTANTIATE_TEST_SUITE_P(Faults, FaultMatrix, ::testing::ValuesIn(kFaults),
                         [](const ::testing::TestParamInfo<Fault>& info) {
                             return std::string(info.param.name);
                         });

} // namespace
} // namespace e2e
