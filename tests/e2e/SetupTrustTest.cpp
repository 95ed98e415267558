// What the installer trusts before it runs anything: the downloaded setup
// program must carry a valid signature of the vendor under a trusted root,
// and no DLL left next to the installer is ever loaded.
#include "tests/e2e/InstallerSession.h"

#include <cctype>
#include <filesystem>
#include <set>
#include <stdexcept>
#include <vector>

namespace e2e {
namespace {

namespace fs = std::filesystem;

class SetupTrust : public InstallerTest {
protected:
    // Runs the whole job against the package and expects the failure view
    // with Retry instead of a hand-off, and no setup file left to open.
    void ExpectRefused(Signing signing, const char* what) {
        SCOPED_TRACE(what);
        Session::Standin().reset();
        ServeStandinSetup(3 << 20, signing);
        Start();
        const WindowHandle window = WaitForWindow();
        ASSERT_TRUE(WaitForTitle(window, kFailed));
        EXPECT_TRUE(Visible(Read(window), kRetry));
        EXPECT_FALSE(FileExists(SetupStartedMarker()));
        EXPECT_FALSE(FileExists(SetupFile())) << "a refused file is removed";
        EXPECT_EQ(Session::Standin().requests(testsupport::kStandinPackage).size(), 1u)
            << "it was downloaded in full";
        StopAll();
    }
};

TEST_F(SetupTrust, ASetupSignedByTheVendorIsOpened) {
    const testsupport::StandinPackage package = ServeStandinSetup();
    Start();
    ASSERT_TRUE(WaitForExit(120s));
    EXPECT_TRUE(WaitForSetupStarted());
    EXPECT_EQ(Sha256OfFile(SetupFile()), package.sha256) << "the file is kept after the hand-off";
}

TEST_F(SetupTrust, AnythingElseIsNeverOpened) {
    ExpectRefused(Signing::None, "unsigned");
    ExpectRefused(Signing::Tampered, "one byte changed after signing");
    ExpectRefused(Signing::OtherName, "signed by another name");
    ExpectRefused(Signing::OtherOrganization,
                  "signed by the vendor's name of another organisation");
    ExpectRefused(Signing::OtherCa, "signed by the vendor's name under another trusted CA");
    ExpectRefused(Signing::UntrustedRoot, "signed under a root that no store holds");
}

TEST_F(SetupTrust, WithoutAnApplicationDataFolderNothingIsDownloaded) {
    ServeStandinSetup();
    ASSERT_TRUE(StartOnTheFailureViewWith("KESTRIX_TEST_NO_APPDATA"));
    EXPECT_TRUE(Session::Standin().requests(testsupport::kStandinPackage).empty());
    // The installer runs from a folder on Z:, which Wine maps to /.
    EXPECT_FALSE(fs::exists("/KestrixOffice")) << "no folder at the root of the current drive";
}

// The DLLs the installer uses that are no KnownDLLs, whose names a planted
// DLL could take, as far as Wine lets a test tell. Wine resolves the imports
// of its own DLLs from the program's folder first, whatever the program has
// asked for: its user32 and shell32 load uxtheme.dll, version.dll and
// shlwapi.dll so before any code of a program runs, and its wininet loads
// iphlpapi.dll; and it hangs at start-up when told to take crypt32.dll from
// a file first. The installer loads those five from the system folder just
// like the others; only a test under Wine cannot show it.
const char* const kPlantable[] = {"gdiplus", "wininet", "winmm", "wintrust", "ws2_32"};

std::string Lower(std::string text) {
    for (char& c : text)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

// Plants kestrix-planted.dll under each name into the folder; Wine prefers
// its own DLLs, and "n,b" makes it take a DLL file first, as Windows does.
Launch Planting(const std::vector<std::string>& names) {
    const char* planted = std::getenv("KESTRIX_PLANTED_DLL");
    if (!planted || !*planted)
        throw std::runtime_error("KESTRIX_PLANTED_DLL is not set");
    Launch launch;
    std::string overrides;
    for (const std::string& name : names) {
        launch.beside[name + ".dll"] = planted;
        overrides += (overrides.empty() ? "" : ",") + name;
    }
    launch.environment["WINEDLLOVERRIDES"] = overrides + "=n,b";
    return launch;
}

// The names whose planted DLL left its marker in the folder (the loader
// names the file as the importer spelt it).
std::set<std::string> LoadedIn(const fs::path& folder) {
    std::set<std::string> loaded;
    for (const auto& entry : fs::directory_iterator(folder)) {
        const std::string name = Lower(entry.path().filename().string());
        const std::string suffix = ".dll.loaded";
        if (name.size() > suffix.size() &&
            name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0)
            loaded.insert(name.substr(0, name.size() - suffix.size()));
    }
    return loaded;
}

TEST_F(SetupTrust, DllsPlantedNextToTheInstallerAreNeverLoaded) {
    const std::vector<std::string> planted(std::begin(kPlantable), std::end(kPlantable));
    ServeStandinSetup();
    Start(Planting(planted));
    const bool ended = WaitForExit(120s);
    for (const std::string& name : LoadedIn(fs::path(workDir) / "0"))
        ADD_FAILURE() << name << ".dll next to the installer was loaded";
    EXPECT_TRUE(ended && WaitForSetupStarted()) << "the run completes with the DLLs of the system";
}

} // namespace
} // namespace e2e
