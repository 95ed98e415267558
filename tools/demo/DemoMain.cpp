// `make demo`: the installer's main job under Wine against the stand-in
// vendor services, with a screenshot of every view it passes and a summary.
#include "tools/harness/FileDigest.h"
#include "tools/harness/PaddedSetup.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinProcess.h"
#include "tools/harness/UiDriver.h"
#include "tools/harness/WineEnvironment.h"
#include "tools/harness/WineProcess.h"

#include <json/json.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;

namespace {

constexpr int kTitle = 1000;
constexpr int kProgress = 1003;
const uint64_t kPackageSize = 40ull << 20;

class Demo {
public:
    Demo(const fs::path& output) : m_output(output) { fs::create_directories(output / "screens"); }

    // A picture of one window as it is on the screen.
    void Screenshot(const std::string& name, const testsupport::Rect& rect) {
        const fs::path file =
            m_output / "screens" / (std::to_string(++m_shots) + "-" + name + ".png");
        const std::string crop = std::to_string(rect.width()) + "x" +
                                 std::to_string(rect.height()) + "+" + std::to_string(rect.left) +
                                 "+" + std::to_string(rect.top);
        const std::string command = "import -display '" + m_wine.display + "' -window root -crop " +
                                    crop + " '" + file.string() + "'";
        if (std::system(command.c_str()) == 0)
            m_screens.push_back(file);
    }

    int Run();

private:
    fs::path m_output;
    testsupport::WineEnvironment m_wine = testsupport::WineEnvironment::fromProcessEnvironment();
    std::vector<fs::path> m_screens;
    std::vector<std::string> m_views;
    int m_shots = 0;
};

int Demo::Run() {
    testsupport::StandinOptions options;
    options.stateDir = fs::path(m_wine.prefix).parent_path() / "certs";
    testsupport::StandinProcess standin(options);
    const std::string trust = testsupport::requiredVariable("KESTRIX_WINE_ENV") + " trust-ca '" +
                              standin.caDerPath() + "' >/dev/null";
    if (std::system(trust.c_str()) != 0)
        throw std::runtime_error("could not trust the test CA in the Wine prefix");
    testsupport::StandinClient services = standin.client();

    const fs::path package = m_output / "KestrixOfficeSetup.exe";
    testsupport::MakePaddedSetup(testsupport::requiredVariable("KESTRIX_STANDIN_SETUP_EXE"),
                                 kPackageSize, options.stateDir, testsupport::Signer::Vendor(),
                                 package);
    const testsupport::StandinPackage served =
        services.registerPackageFile("KestrixOfficeSetup.exe", package.string());
    // Paced like a modest connection, so that each view can be seen.
    testsupport::StandinAnswer paced;
    paced.delayMs = 1500;
    services.script(testsupport::kStandinUpdate, {paced});
    testsupport::StandinAnswer download;
    download.package = "KestrixOfficeSetup.exe";
    download.chunkBytes = 256 * 1024;
    download.chunkDelayMs = 40;
    services.script(testsupport::kStandinPackage, {download});

    const fs::path setupFolder = fs::path(m_wine.roamingFolder()) / "KestrixOffice/Setup";
    fs::remove_all(setupFolder);

    std::cout << "demo: starting KestrixOfficeInstaller.exe under Wine on display "
              << m_wine.display << "\n";
    testsupport::UiDriver driver(m_wine, testsupport::requiredVariable("KESTRIX_UIDRIVER_EXE"));
    testsupport::WineProcessOptions run;
    run.logPath = (m_output / "installer.log").string();
    testsupport::WineProcess installer(m_wine,
                                       testsupport::requiredVariable("KESTRIX_INSTALLER_EXE"), run);

    testsupport::WindowQuery query;
    query.exe = "KestrixOfficeInstaller.exe";
    query.className = "#32770";
    const auto window = driver.waitForWindow(query, 60s);
    if (!window)
        throw std::runtime_error("the installer window did not appear");
    const std::string title = driver.readWindow(*window).control(kTitle)->text;
    m_views.push_back(title);
    Screenshot("connecting", driver.readWindow(*window).rect);

    const auto progress = driver.waitForProgress(
        *window, kProgress, [](const testsupport::ProgressInfo& bar) { return bar.pos >= 40; },
        120s);
    if (progress) {
        m_views.push_back(driver.readWindow(*window).control(kTitle)->text + " (" +
                          std::to_string(progress->pos) + "%)");
        Screenshot("downloading", driver.readWindow(*window).rect);
    }
    testsupport::WindowQuery setupQuery;
    setupQuery.caption = "Kestrix Office Setup";
    if (const auto setup = driver.waitForWindow(setupQuery, 120s)) {
        m_views.push_back("hand-off: \"Kestrix Office Setup\" started");
        std::this_thread::sleep_for(500ms); // let it paint before the picture
        Screenshot("setup-started", driver.readWindow(*setup).rect);
    }
    installer.waitForExit(60s);

    const fs::path downloaded = setupFolder / "KestrixOfficeSetup.exe";
    const bool present = fs::exists(downloaded);
    const std::string sha = present ? testsupport::Sha256OfFile(downloaded.string()) : "";
    std::cout << "\n== Kestrix Office installer demo ==\n"
              << "installer: the " << m_wine.widthName() << " test build under "
              << m_wine.widthName() << " Wine ("
              << testsupport::requiredVariable("KESTRIX_INSTALLER_EXE") << ")\n"
              << "views shown:\n";
    for (const std::string& view : m_views)
        std::cout << "  - " << view << "\n";
    std::cout << "downloaded file: " << downloaded.string() << "\n"
              << "  size " << (present ? fs::file_size(downloaded) : 0) << " bytes (package "
              << served.size << ")\n"
              << "  SHA-256 " << (sha.empty() ? "-" : sha) << "\n"
              << "  "
              << (sha == served.sha256 ? "identical to the package" : "DIFFERS from the package")
              << "\n"
              << "setup program started: "
              << (fs::exists(downloaded.string() + ".started")
                      ? "yes, after the installer had checked its signature, its chain and "
                        "its signer (\"Kestrix Test Signer\" of \"Kestrix Office tests\", issued "
                        "by the test CA) while "
                        "holding it open"
                      : "no")
              << "\n"
              << "usage events received by the log collector:\n";
    for (const testsupport::StandinRequest& request :
         services.requests(testsupport::kStandinCollector)) {
        Json::Value document;
        Json::Reader().parse(request.body, document);
        std::cout << "  - " << document["ti"]["t"].asString() << " "
                  << document["obj"]["dt"].asString()
                  << (document["obj"].isMember("el") ? "/" + document["obj"]["el"].asString() : "")
                  << "  (ts " << document["ctx"]["ts"].asInt64() << ")\n";
    }
    std::cout << "screenshots:\n";
    for (const fs::path& screen : m_screens)
        std::cout << "  " << screen.string() << "\n";
    return sha == served.sha256 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Demo(argc > 1 ? argv[1] : "build/demo").Run();
    } catch (const std::exception& error) {
        std::cerr << "demo: " << error.what() << "\n";
        return 1;
    }
}
