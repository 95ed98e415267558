#pragma once
#include "tools/harness/UiDriverConnection.h"
#include "tools/harness/UiDriverTypes.h"
#include "tools/harness/WineProcess.h"

#include <chrono>
#include <functional>
#include <json/value.h>
#include <optional>
#include <string>
#include <vector>

namespace testsupport {

// Reads and operates the windows of a Windows program under test through
// kestrix-uidriver.exe, which runs in the same Wine prefix for the lifetime of
// this object. Requests are answered in a few milliseconds; actions (clicks,
// keys, close) return once queued to the program, so wait for the state they
// lead to with the wait... calls, never for a fixed time. Everything throws
// UiDriverError when the driver refuses or cannot serve a request.
class UiDriver {
public:
    using Timeout = std::chrono::milliseconds;

    // Starts the driver and waits until it has connected. Throws UiDriverError
    // "no-answer" with the driver's log when it does not.
    UiDriver(const WineEnvironment& wine, const std::string& driverExe,
             Timeout startTimeout = std::chrono::seconds(60));
    // Asks the driver to quit; kills it if it does not.
    ~UiDriver();
    UiDriver(const UiDriver&) = delete;
    UiDriver& operator=(const UiDriver&) = delete;

    // $KESTRIX_UIDRIVER_EXE; throws std::runtime_error when it is not set.
    static std::string defaultExecutable();
    // The driver's own Windows process id.
    std::uint32_t processId() const { return processId_; }
    std::string log() const { return process_.log(); }

    // The topmost visible window that matches, once there is one; nothing when
    // none appears in time.
    std::optional<WindowHandle> waitForWindow(const WindowQuery& query, Timeout timeout);
    // True once the window is destroyed (at once when it does not exist).
    bool waitForWindowGone(WindowHandle window, Timeout timeout);
    // Every top-level window, hidden ones too; handy for telling what is there.
    std::vector<TopLevelWindow> windows(const WindowQuery& query = {});

    WindowInfo readWindow(WindowHandle window);
    std::uint32_t processIdOf(WindowHandle window) { return readWindow(window).pid; }
    std::vector<LinkItem> readLinks(WindowHandle window, int controlId);
    ProgressInfo readProgress(WindowHandle window, int controlId);
    // Sends the window a WM_NULL every `period` until it is hidden or gone
    // (or `timeout` passes) and times each round trip.
    Responsiveness measureResponses(WindowHandle window, std::chrono::milliseconds period,
                                    Timeout timeout);

    // A left click at the centre of the control; UiDriverError "disabled",
    // "hidden" or "covered" when a user could not click it.
    void clickButton(WindowHandle window, int controlId);
    // A left click on the link with that index (0 is the first) of a SysLink.
    void clickLink(WindowHandle window, int controlId, int linkIndex);
    // A key pressed and released at the control with the keyboard focus.
    void pressKey(WindowHandle window, Key key);
    // The close box of the caption.
    void closeWindow(WindowHandle window);
    // Posts a message to the window, as any program could.
    void postMessage(WindowHandle window, unsigned message, int wParam, int lParam);
    // The driver holds a file (a Windows path) open, shared with nobody,
    // until released or the driver ends.
    void holdFile(const std::string& windowsPath);
    void releaseFile(const std::string& windowsPath);

    // A message box owned by the window, once there is one.
    std::optional<MessageBoxInfo> waitForMessageBox(WindowHandle owner, Timeout timeout);
    MessageBoxInfo readMessageBox(WindowHandle messageBox);
    // Clicks the message box's button (IDYES 6, IDNO 7, IDOK 1, ...).
    void answerMessageBox(const MessageBoxInfo& messageBox, int buttonId);

    // Polls the window until the condition holds and returns the state that
    // satisfied it; nothing when the timeout passes first.
    std::optional<WindowInfo> waitForWindowState(WindowHandle window,
                                                 const std::function<bool(const WindowInfo&)>& done,
                                                 Timeout timeout);
    bool waitForControlText(WindowHandle window, int controlId, const std::string& text,
                            Timeout timeout);
    bool waitForControlEnabled(WindowHandle window, int controlId, bool enabled, Timeout timeout);
    std::optional<ProgressInfo>
    waitForProgress(WindowHandle window, int controlId,
                    const std::function<bool(const ProgressInfo&)>& done, Timeout timeout);

private:
    // Sends the request and returns the answer; UiDriverError for a refusal.
    Json::Value call(Json::Value request, Timeout wait = Timeout::zero());
    // The same, but nothing for a "timeout" refusal.
    std::optional<Json::Value> callWait(Json::Value request, Timeout wait);

    UiDriverConnection connection_;
    WineProcess process_;
    std::uint32_t processId_ = 0;
};

} // namespace testsupport
