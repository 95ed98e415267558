#pragma once

// Which controls each view of the installer window shows. A control a view
// does not mention keeps what it had.
enum class View { Connecting, NoConnection, Downloading, Failure };

enum class Visibility { Unchanged, Shown, Hidden };

struct ViewControls {
    unsigned titleString; // string id of the title line
    Visibility description;
    Visibility helpLink;
    Visibility retry;
    Visibility close;
    bool focusClose; // the Close button gets the keyboard focus
};

const ViewControls& ControlsOf(View view);
