#include "tools/gallery/ViewTour.h"

#include "tools/gallery/ScreenCapture.h"
#include "tools/harness/WineProcess.h"

#include <chrono>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using testsupport::WindowHandle;
using testsupport::WindowInfo;

namespace gallery {

namespace {

constexpr int kRetry = 4;
constexpr int kClose = 2;
constexpr int kTitle = 1000;
constexpr int kProgress = 1003;
const char kPackage[] = "KestrixOfficeSetup.exe";
// The installer reads 4096 bytes at a time and a read waits for all of them:
// the stall point must be a multiple of 4096 for the bar to reach it.
constexpr std::uint64_t kPackageSize = 250 * 4096;
static_assert(kPackageSize * kHeldPercent / 100 % 4096 == 0, "stalls inside a read");
constexpr auto kViewTimeout = 60s;

bool Visible(const WindowInfo& info, int id) {
    const testsupport::ControlInfo* control = info.control(id);
    return control && control->visible;
}

std::string Title(const WindowInfo& info) {
    const testsupport::ControlInfo* control = info.control(kTitle);
    return control ? control->text : std::string();
}

// A state change is painted shortly after the control reports it.
void LetItPaint() {
    std::this_thread::sleep_for(300ms);
}

} // namespace

const char* ViewFileName(View view) {
    switch (view) {
    case View::Connecting:
        return "connecting";
    case View::NoConnection:
        return "no-connection";
    case View::Downloading:
        return "downloading";
    case View::Failure:
        return "failure";
    case View::Confirmation:
        return "confirmation";
    }
    return "view";
}

const char* ViewLabel(View view) {
    switch (view) {
    case View::Connecting:
        return "Connecting";
    case View::NoConnection:
        return "No connection";
    case View::Downloading:
        return "Downloading (40 %)";
    case View::Failure:
        return "Failure";
    case View::Confirmation:
        return "Close confirmation";
    }
    return "View";
}

ViewTour::ViewTour(const testsupport::WineEnvironment& wine, testsupport::UiDriver& driver,
                   testsupport::StandinClient services, std::string installerExe,
                   fs::path outputDir)
    : m_wine(wine), m_driver(driver), m_services(services), m_installerExe(std::move(installerExe)),
      m_outputDir(std::move(outputDir)) {}

void ViewTour::Run(const Language& language, std::vector<Shot>& shots) {
    RunOnline(language, shots);
    RunOffline(language, shots);
}

void ViewTour::RunOnline(const Language& language, std::vector<Shot>& shots) {
    m_services.reset();
    testsupport::StandinAnswer held;
    held.delayMs = 600000;
    m_services.script(testsupport::kStandinUpdate, {held}, /*thenDefault=*/true);

    testsupport::WineProcessOptions options;
    options.environment = {{"LANG", language.locale}, {"LC_ALL", language.locale}};
    options.logPath = (m_outputDir / "logs" / (language.tag + "-online.log")).string();
    testsupport::WineProcess installer(m_wine, m_installerExe, options);

    const WindowHandle window = WaitForInstallerWindow(View::Connecting);
    WindowInfo info = WaitForView(window, View::Connecting, [this, window](const WindowInfo& w) {
        return !Title(w).empty() && m_driver.readProgress(window, kProgress).marquee;
    });
    LetItPaint();
    Take(language, View::Connecting, info.rect, Title(info), shots);

    // The reset cuts the held answer: the package URL request fails. It also
    // forgets the package, so the download after Retry needs it again.
    m_services.reset();
    HoldNextDownload();
    info =
        WaitForView(window, View::Failure, [](const WindowInfo& w) { return Visible(w, kRetry); });
    LetItPaint();
    Take(language, View::Failure, info.rect, Title(info), shots);

    m_driver.clickButton(window, kRetry);
    if (!m_driver.waitForProgress(
            window, kProgress,
            [](const testsupport::ProgressInfo& bar) {
                return !bar.marquee && bar.pos >= kHeldPercent;
            },
            kViewTimeout))
        throw std::runtime_error(std::string("no ") + ViewFileName(View::Downloading) + " view");
    info = m_driver.readWindow(window);
    LetItPaint();
    Take(language, View::Downloading, info.rect, Title(info), shots);

    m_driver.closeWindow(window);
    const auto box = m_driver.waitForMessageBox(window, kViewTimeout);
    if (!box)
        throw std::runtime_error(std::string("no ") + ViewFileName(View::Confirmation) + " box");
    LetItPaint();
    Take(language, View::Confirmation, Union(info.rect, m_driver.readWindow(box->hwnd).rect),
         box->caption + "\n" + box->text, shots);
    // The download is stalled: ending the process is quicker than the abort.
    installer.kill();
    m_driver.waitForWindowGone(window, 10s);
}

void ViewTour::RunOffline(const Language& language, std::vector<Shot>& shots) {
    testsupport::WineProcessOptions options;
    options.environment = {
        {"LANG", language.locale}, {"LC_ALL", language.locale}, {"KESTRIX_TEST_OFFLINE", "1"}};
    options.logPath = (m_outputDir / "logs" / (language.tag + "-offline.log")).string();
    testsupport::WineProcess installer(m_wine, m_installerExe, options);
    const WindowHandle window = WaitForInstallerWindow(View::NoConnection);
    const WindowInfo info = WaitForView(window, View::NoConnection, [](const WindowInfo& w) {
        return !Title(w).empty() && Visible(w, kClose);
    });
    LetItPaint();
    Take(language, View::NoConnection, info.rect, Title(info), shots);
    m_driver.closeWindow(window);
    if (!installer.waitForExit(10s))
        installer.kill();
    m_driver.waitForWindowGone(window, 10s);
}

WindowHandle ViewTour::WaitForInstallerWindow(View view) {
    testsupport::WindowQuery query;
    query.exe = fs::path(m_installerExe).filename().string();
    query.className = "#32770";
    const auto window = m_driver.waitForWindow(query, kViewTimeout);
    if (!window)
        throw std::runtime_error(std::string("no installer window for the ") + ViewFileName(view) +
                                 " view");
    return *window;
}

WindowInfo ViewTour::WaitForView(WindowHandle window, View view,
                                 const std::function<bool(const WindowInfo&)>& shown) {
    const auto info = m_driver.waitForWindowState(window, shown, kViewTimeout);
    if (!info)
        throw std::runtime_error(std::string("no ") + ViewFileName(view) + " view");
    return *info;
}

void ViewTour::Take(const Language& language, View view, const testsupport::Rect& rect,
                    std::string text, std::vector<Shot>& shots) {
    const fs::path file = m_outputDir / (language.tag + "-" + ViewFileName(view) + ".png");
    CaptureScreen(m_wine.display, rect, file.string());
    shots.push_back(Shot{view, file, std::move(text)});
}

// The package stalls at the held percentage until the next reset.
void ViewTour::HoldNextDownload() const {
    m_services.registerGeneratedPackage(kPackage, kPackageSize, 1);
    testsupport::StandinAnswer stall;
    stall.package = kPackage;
    stall.stallAfterBytes = kPackageSize * kHeldPercent / 100;
    m_services.script(testsupport::kStandinPackage, {stall});
}

} // namespace gallery
