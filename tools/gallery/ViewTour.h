#pragma once
#include "tools/gallery/Languages.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/UiDriver.h"
#include "tools/harness/WineEnvironment.h"

#include <filesystem>
#include <string>
#include <vector>

namespace gallery {

// The views the gallery shows, in the index's column order.
enum class View { Connecting, NoConnection, Downloading, Failure, Confirmation };
constexpr View kViews[] = {View::Connecting, View::NoConnection, View::Downloading, View::Failure,
                           View::Confirmation};
const char* ViewFileName(View view); // "no-connection"
const char* ViewLabel(View view);    // "No connection"

// The percentage at which the download view is held.
constexpr int kHeldPercent = 40;

// One picture: the view, its file and the text the window (or the box) said.
struct Shot {
    View view;
    std::filesystem::path file;
    std::string text;
};

// Drives the installer through every view in one language and takes a
// picture of each. The stand-in holds each view with scripted answers: the
// update server's answer is held (connecting) and then cut by a reset
// (failure); after Retry the package stalls at kHeldPercent (downloading);
// closing the window then asks the question (confirmation). A second run with
// the test build's offline seam gives the no-connection view.
class ViewTour {
public:
    ViewTour(const testsupport::WineEnvironment& wine, testsupport::UiDriver& driver,
             testsupport::StandinClient services, std::string installerExe,
             std::filesystem::path outputDir);

    // The pictures taken; throws std::runtime_error naming the view that did
    // not come, with the pictures taken so far in `shots`.
    void Run(const Language& language, std::vector<Shot>& shots);

private:
    void RunOnline(const Language& language, std::vector<Shot>& shots);
    void RunOffline(const Language& language, std::vector<Shot>& shots);
    testsupport::WindowHandle WaitForInstallerWindow(View view);
    // Waits until the window is in the state and returns it; throws naming the view.
    testsupport::WindowInfo
    WaitForView(testsupport::WindowHandle window, View view,
                const std::function<bool(const testsupport::WindowInfo&)>& shown);
    void Take(const Language& language, View view, const testsupport::Rect& rect, std::string text,
              std::vector<Shot>& shots);
    void HoldNextDownload() const;

    const testsupport::WineEnvironment& m_wine;
    testsupport::UiDriver& m_driver;
    testsupport::StandinClient m_services;
    std::string m_installerExe;
    std::filesystem::path m_outputDir;
};

} // namespace gallery
