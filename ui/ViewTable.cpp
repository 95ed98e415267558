#include "ui/ViewTable.h"

#include "res/resource.h"

namespace {

using V = Visibility;

// clang-format off
//                                  title                description  help link    retry        close        focus close
constexpr ViewControls kConnecting{IDS_CONNECTING,      V::Hidden,    V::Hidden,   V::Hidden,   V::Unchanged, false};
constexpr ViewControls kNoConnection{IDS_NO_CONNECTION, V::Shown,     V::Hidden,   V::Hidden,   V::Shown,     true};
constexpr ViewControls kDownloading{IDS_DOWNLOADING,    V::Unchanged, V::Unchanged, V::Unchanged, V::Unchanged, false};
constexpr ViewControls kFailure{IDS_DOWNLOAD_FAILED,    V::Shown,     V::Shown,    V::Shown,    V::Hidden,    false};
// clang-format on

} // namespace

const ViewControls& ControlsOf(View view) {
    switch (view) {
    case View::Connecting:
        return kConnecting;
    case View::NoConnection:
        return kNoConnection;
    case View::Downloading:
        return kDownloading;
    case View::Failure:
        break;
    }
    return kFailure;
}
