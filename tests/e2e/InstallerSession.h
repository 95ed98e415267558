#pragma once
#include "tools/harness/CodeSigning.h"
#include "tools/harness/FileDigest.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinProcess.h"
#include "tools/harness/UiDriver.h"
#include "tools/harness/WineEnvironment.h"
#include "tools/harness/WineProcess.h"

#include <gtest/gtest.h>

#include <chrono>
#include <map>
#include <memory>
#include <string>

namespace e2e {

using namespace std::chrono_literals;
using testsupport::ControlInfo;
using testsupport::WindowHandle;
using testsupport::WindowInfo;

// Control ids and English texts of the installer window.
enum ControlId {
    kOk = 1,
    kClose = 2,
    kRetry = 4,
    kTitle = 1000,
    kDescription = 1001,
    kHelpLink = 1002,
    kProgress = 1003,
    kPicture = 1004,
};
extern const char kCaption[];
extern const char kConnecting[];
extern const char kNoConnection[];
extern const char kFailed[];
extern const char kDownloading[];

// One run of the installer under Wine.
struct Launch {
    std::string exeName = "KestrixOfficeInstaller.exe";
    std::map<std::string, std::string> environment;
    bool offline = false; // the test build's seam: the connection probe says "not connected"
    std::map<std::string, std::string> beside; // file name -> Linux path, copied next to the exe
    unsigned long long fileSizeLimit = 0;      // as if the disk were full beyond it (0: no limit)
};

inline Launch Offline(std::string exeName = "KestrixOfficeInstaller.exe") {
    Launch launch;
    launch.exeName = std::move(exeName);
    launch.offline = true;
    return launch;
}

// How the package served to the installer is signed.
enum class Signing {
    Vendor,            // by the signer the test build expects
    None,              // not at all
    Tampered,          // by the vendor, then one byte changed
    OtherName,         // by a valid certificate with another name
    OtherOrganization, // by the expected name of another organisation
    OtherCa,           // by the expected name and organisation under another trusted CA
    UntrustedRoot      // by the expected name, under a CA that no store holds
};

// What every end-to-end test shares: the Wine prefix and display, the
// stand-in services on the ports the test build names (their CA trusted in
// the prefix), and one UI driver. Made once per test program.
class Session : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;

    static testsupport::WineEnvironment& Wine();
    static testsupport::StandinClient Standin();
    // The stand-in's state folder: its CA, and the code-signing certificates.
    static std::string CertsDir();
    static testsupport::UiDriver& Driver();
};

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Copies the installer under the launch's name into a folder of its own
    // and starts it.
    testsupport::WineProcess& Start(const Launch& launch = {});
    // The installer's window once it is shown (fails the test otherwise).
    WindowHandle WaitForWindow(const std::string& exeName = "KestrixOfficeInstaller.exe");
    WindowInfo Read(WindowHandle window) { return Session::Driver().readWindow(window); }
    bool WaitForTitle(WindowHandle window, const std::string& text);
    // True once any installer window shows this title.
    bool WaitForWindowWithTitle(const std::string& text);
    // Starts the installer against an update server that refuses, and waits
    // for the failure view; 0 (and a failed test) when it does not come.
    WindowHandle StartOnTheFailureView();
    // The window of the installer just started, once it shows the failure
    // view; 0, with a test failure, when it does not.
    WindowHandle WaitForTheFailureView();
    // Starts the installer with the test hook set in its environment, waits
    // for the failure view the hook leads to and expects Retry on it; 0 (and a
    // failed test) when the view does not come.
    WindowHandle StartOnTheFailureViewWith(const std::string& hook);
    // Kills every copy started and waits until their windows are gone.
    void StopAll();
    // True when the last started installer ends within the limit.
    bool WaitForExit(std::chrono::milliseconds limit = 30s);

    // The per-user setup folder and file inside the prefix, as Linux paths.
    static std::string SetupFolder();
    static std::string SetupFile() { return SetupFolder() + "/KestrixOfficeSetup.exe"; }
    // Registers the stand-in setup program as the package, padded to the
    // size and then signed as asked.
    testsupport::StandinPackage ServeStandinSetup(uint64_t paddedSize = 3 << 20,
                                                  Signing signing = Signing::Vendor);
    // Where the stand-in setup program writes its marker when it starts.
    static std::string SetupStartedMarker() { return SetupFile() + ".started"; }
    // True once the stand-in setup program has reported that it was started.
    static bool WaitForSetupStarted();
    // A package host slow enough for a user to act during the download.
    static void SlowPackageHost();

    static const ControlInfo* ControlOf(const WindowInfo& info, int id);
    static bool Visible(const WindowInfo& info, int id);
    static std::string Text(const WindowInfo& info, int id);

    std::vector<std::unique_ptr<testsupport::WineProcess>> processes;
    std::string workDir;
};

std::string ReadFileBytes(const std::string& path);
using testsupport::Sha256OfFile;
bool FileExists(const std::string& path);

} // namespace e2e
