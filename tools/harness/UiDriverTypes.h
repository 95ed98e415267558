#pragma once
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

namespace testsupport {

// A window of the program under test, as Windows numbers it.
using WindowHandle = std::uint32_t;

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
};

struct ControlInfo {
    WindowHandle hwnd = 0;
    WindowHandle parent = 0;
    int id = 0;
    std::string className;
    std::string text; // UTF-8
    bool visible = false;
    bool enabled = false;
    bool focused = false;
    Rect rect;       // in the parent's client coordinates (mirrored in a right-to-left window)
    Rect screenRect; // on the screen
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
};

// Which window, under which owner, of which process: what the driver tells of
// every top-level window.
struct WindowIdentity {
    WindowHandle hwnd = 0;
    WindowHandle owner = 0;
    std::uint32_t pid = 0; // Windows process id
};

// A top-level window as the driver's list shows it, hidden ones included.
struct TopLevelWindow : WindowIdentity {
    std::string exe; // program file name
    std::string className;
    std::string caption;
    bool visible = false;
};

// A top-level window read in full, with its controls.
struct WindowInfo : TopLevelWindow {
    std::uint32_t tid = 0;
    bool enabled = false;
    bool foreground = false;
    bool rtl = false; // WS_EX_LAYOUTRTL
    std::uint32_t style = 0;
    std::uint32_t exStyle = 0;
    Rect rect;                // outer, on the screen
    Rect clientRect;          // client area, on the screen
    std::optional<int> focus; // id of the control with the keyboard focus
    std::vector<ControlInfo> controls;

    // The control with that id, or nullptr.
    const ControlInfo* control(int id) const;
};

struct LinkItem {
    int index = 0;
    std::string id;
    std::string url;
    bool enabled = false;
    bool focused = false;
    bool visited = false;
};

struct ProgressInfo {
    int pos = 0;
    int low = 0;
    int high = 0;
    bool marquee = false; // PBS_MARQUEE
    int state = 0;        // PBST_NORMAL 1, PBST_ERROR 2, PBST_PAUSED 3
};

// How a window answered a WM_NULL sent at a steady pace (the driver's
// "responses").
struct Responsiveness {
    std::vector<double> roundTripsUs; // in order; an unanswered one counts as a second
    int unanswered = 0;               // sends not answered within a second
    std::string endedBy;              // "hidden", "gone" or "timeout"
};

struct MessageBoxButton {
    int id = 0; // IDOK 1, IDCANCEL 2, IDYES 6, IDNO 7, ...
    std::string text;
    bool enabled = false;
    bool focused = false;
};

struct MessageBoxInfo : WindowIdentity {
    std::string caption;
    std::string text;
    bool icon = false;
    std::vector<MessageBoxButton> buttons; // left to right

    // The button with that id, or nullptr.
    const MessageBoxButton* button(int id) const;
};

// Which visible top-level window to wait for; unset fields match anything.
struct WindowQuery {
    std::optional<std::uint32_t> pid; // Windows process id (not the Linux one)
    std::optional<std::string> exe;   // program file name, any case
    std::optional<std::string> caption;
    std::optional<std::string> className; // "#32770" for dialogs
    std::optional<WindowHandle> owner;
};

enum class Key { Escape, Enter, Tab, Space, Left, Right, Up, Down };

// A request the driver refused or could not serve. code() is the driver's
// error code ("no-window", "disabled", ...) or "no-answer" when the driver
// itself did not answer.
class UiDriverError : public std::runtime_error {
public:
    UiDriverError(std::string code, const std::string& message)
        : std::runtime_error(code + ": " + message), code_(std::move(code)) {}
    const std::string& code() const { return code_; }

private:
    std::string code_;
};

} // namespace testsupport
