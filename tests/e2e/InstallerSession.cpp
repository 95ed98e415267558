#include "tests/e2e/InstallerSession.h"

#include "tools/harness/PaddedSetup.h"

#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace e2e {

const char kCaption[] = "Kestrix Office Installation Administrator";
const char kConnecting[] = "Connecting to the Internet to download the installation files.";
const char kNoConnection[] = "Cannot connect to the Internet.";
const char kFailed[] = "Failed to download Kestrix Office.";
const char kDownloading[] = "Downloading Kestrix Office...";

namespace {

std::unique_ptr<testsupport::WineEnvironment> g_wine;
std::unique_ptr<testsupport::StandinProcess> g_standin;
std::unique_ptr<testsupport::UiDriver> g_driver;

} // namespace

void Session::SetUp() {
    g_wine = std::make_unique<testsupport::WineEnvironment>(
        testsupport::WineEnvironment::fromProcessEnvironment());
    testsupport::StandinOptions options;
    options.stateDir = CertsDir();
    g_standin = std::make_unique<testsupport::StandinProcess>(options);
    // The stand-in's CA, and a second code-signing CA whose signers the
    // installer must refuse though Windows trusts them.
    for (const std::string& ca :
         {g_standin->caDerPath(),
          testsupport::SigningCaDer(CertsDir(), testsupport::kOtherCaSubject)}) {
        const std::string trust =
            testsupport::requiredVariable("KESTRIX_WINE_ENV") + " trust-ca '" + ca + "'";
        if (std::system(trust.c_str()) != 0)
            throw std::runtime_error("could not trust a test CA in the prefix: " + trust);
    }
    g_driver = std::make_unique<testsupport::UiDriver>(*g_wine,
                                                       testsupport::UiDriver::defaultExecutable());
}

void Session::TearDown() {
    g_driver.reset();
    g_standin.reset();
    g_wine.reset();
}

testsupport::WineEnvironment& Session::Wine() {
    return *g_wine;
}
testsupport::StandinClient Session::Standin() {
    return g_standin->client();
}
std::string Session::CertsDir() {
    return fs::path(g_wine->prefix).parent_path() / "certs";
}
testsupport::UiDriver& Session::Driver() {
    return *g_driver;
}

void InstallerTest::SetUp() {
    Session::Standin().reset();
    fs::remove_all(SetupFolder());
    fs::remove(Session::Wine().browserLog);
    workDir = fs::temp_directory_path() /
              ("kestrix-e2e-" + std::to_string(::getpid()) + "-" +
               ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(workDir);
    fs::create_directories(workDir);
}

void InstallerTest::TearDown() {
    StopAll();
    fs::remove_all(workDir);
}

void InstallerTest::StopAll() {
    for (auto& process : processes)
        process->kill();
    processes.clear();
    // Wine takes the windows of a killed process down a moment later; the
    // next round must not find them. The driver lists every window, so the
    // installer's are picked out here.
    const auto installerWindowLeft = [] {
        const auto windows = Session::Driver().windows();
        return std::any_of(windows.begin(), windows.end(), [](const auto& window) {
            return window.className == "#32770" && window.caption == kCaption;
        });
    };
    const auto deadline = std::chrono::steady_clock::now() + 30s;
    while (installerWindowLeft() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(20ms);
}

testsupport::WineProcess& InstallerTest::Start(const Launch& launch) {
    const fs::path folder = fs::path(workDir) / std::to_string(processes.size());
    fs::create_directories(folder);
    const fs::path exe = folder / launch.exeName;
    fs::copy_file(testsupport::requiredVariable("KESTRIX_INSTALLER_EXE"), exe,
                  fs::copy_options::overwrite_existing);
    for (const auto& [name, source] : launch.beside)
        fs::copy_file(source, folder / name, fs::copy_options::overwrite_existing);
    testsupport::WineProcessOptions options;
    options.environment = launch.environment;
    if (launch.offline)
        options.environment["KESTRIX_TEST_OFFLINE"] = "1";
    options.workDir = folder;
    options.logPath = folder / "wine.log";
    options.fileSizeLimit = launch.fileSizeLimit;
    processes.push_back(
        std::make_unique<testsupport::WineProcess>(Session::Wine(), exe.string(), options));
    return *processes.back();
}

WindowHandle InstallerTest::WaitForWindow(const std::string& exeName) {
    testsupport::WindowQuery query;
    query.exe = exeName;
    query.className = "#32770";
    query.caption = kCaption;
    const auto window = Session::Driver().waitForWindow(query, 60s);
    if (!window) {
        ADD_FAILURE() << "the installer window did not appear";
        return 0;
    }
    return *window;
}

WindowHandle InstallerTest::StartOnTheFailureView() {
    Session::Standin().script(testsupport::kStandinUpdate,
                              {testsupport::StandinAnswer::json("{\"resultCode\":1}")});
    Start();
    return WaitForTheFailureView();
}

WindowHandle InstallerTest::WaitForTheFailureView() {
    const WindowHandle window = WaitForWindow();
    if (!window || !WaitForTitle(window, kFailed)) {
        ADD_FAILURE() << "the failure view did not come";
        return 0;
    }
    return window;
}

WindowHandle InstallerTest::StartOnTheFailureViewWith(const std::string& hook) {
    Launch launch;
    launch.environment[hook] = "1";
    Start(launch);
    const WindowHandle window = WaitForTheFailureView();
    if (window) {
        EXPECT_TRUE(Visible(Read(window), kRetry)) << "no Retry on the failure view";
    }
    return window;
}

bool InstallerTest::WaitForTitle(WindowHandle window, const std::string& text) {
    return Session::Driver().waitForControlText(window, kTitle, text, 60s);
}

bool InstallerTest::WaitForWindowWithTitle(const std::string& text) {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (std::chrono::steady_clock::now() < deadline) {
        for (const auto& window : Session::Driver().windows()) {
            if (!window.visible || window.className != "#32770" || window.caption != kCaption)
                continue;
            try {
                if (Text(Read(window.hwnd), kTitle) == text)
                    return true;
            } catch (const testsupport::UiDriverError& error) {
                // A copy ended between the listing and the reading.
                if (error.code() != "no-window")
                    throw;
            }
        }
        std::this_thread::sleep_for(20ms);
    }
    return false;
}

bool InstallerTest::WaitForExit(std::chrono::milliseconds limit) {
    return !processes.empty() && processes.back()->waitForExit(limit).has_value();
}

std::string InstallerTest::SetupFolder() {
    return Session::Wine().roamingFolder() + "/KestrixOffice/Setup";
}

testsupport::StandinPackage InstallerTest::ServeStandinSetup(uint64_t paddedSize, Signing signing) {
    const fs::path package = fs::path(workDir) / "KestrixOfficeSetup.exe";
    std::optional<testsupport::Signer> signer;
    switch (signing) {
    case Signing::None:
        break;
    case Signing::Vendor:
    case Signing::Tampered:
        signer = testsupport::Signer::Vendor();
        break;
    case Signing::OtherName:
        signer = testsupport::Signer::OtherName();
        break;
    case Signing::OtherOrganization:
        signer = testsupport::Signer::OtherOrganization();
        break;
    case Signing::OtherCa:
        signer = testsupport::Signer::OtherCa();
        break;
    case Signing::UntrustedRoot:
        signer = testsupport::Signer::Untrusted();
        break;
    }
    testsupport::MakePaddedSetup(testsupport::requiredVariable("KESTRIX_STANDIN_SETUP_EXE"),
                                 paddedSize, Session::CertsDir(), signer, package);
    if (signing == Signing::Tampered) {
        // One byte of the signed part, well inside the padding.
        const auto middle = static_cast<std::streamoff>(fs::file_size(package) / 2);
        std::fstream file(package, std::ios::binary | std::ios::in | std::ios::out);
        file.seekg(middle);
        const char byte = static_cast<char>(file.get());
        file.seekp(middle);
        file.put(static_cast<char>(byte ^ 0x01));
    }
    return Session::Standin().registerPackageFile("KestrixOfficeSetup.exe", package.string());
}

bool InstallerTest::WaitForSetupStarted() {
    const auto deadline = std::chrono::steady_clock::now() + 60s;
    while (!FileExists(SetupStartedMarker())) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

void InstallerTest::SlowPackageHost() {
    testsupport::StandinAnswer slow;
    slow.package = "KestrixOfficeSetup.exe";
    slow.chunkBytes = 16384;
    slow.chunkDelayMs = 40;
    Session::Standin().script(testsupport::kStandinPackage, {slow});
}

const ControlInfo* InstallerTest::ControlOf(const WindowInfo& info, int id) {
    return info.control(id);
}

bool InstallerTest::Visible(const WindowInfo& info, int id) {
    const ControlInfo* control = info.control(id);
    return control && control->visible;
}

std::string InstallerTest::Text(const WindowInfo& info, int id) {
    const ControlInfo* control = info.control(id);
    return control ? control->text : std::string();
}

std::string ReadFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool FileExists(const std::string& path) {
    return fs::exists(path);
}

} // namespace e2e
