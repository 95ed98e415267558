#include "ui/ViewTable.h"

namespace {

constexpr unsigned kConnecting = 141;
constexpr unsigned kNoConnection = 142;
constexpr unsigned kDownloadFailed = 144;
constexpr unsigned kDownloading = 145;

using V = Visibility;

constexpr ViewControls kViews[] = {
    // title          description   help link    retry        close        focus close
    {kConnecting, V::Hidden, V::Hidden, V::Hidden, V::Unchanged, false},
    {kNoConnection, V::Shown, V::Hidden, V::Hidden, V::Shown, true},
    {kDownloading, V::Unchanged, V::Unchanged, V::Unchanged, V::Unchanged, false},
    {kDownloadFailed, V::Shown, V::Shown, V::Shown, V::Hidden, false},
};

} // namespace

const ViewControls& ControlsOf(View view) {
    return kViews[static_cast<int>(view)];
}
