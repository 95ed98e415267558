#include "tools/gallery/ScreenCapture.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

namespace gallery {

testsupport::Rect Union(const testsupport::Rect& a, const testsupport::Rect& b) {
    testsupport::Rect both;
    both.left = std::min(a.left, b.left);
    both.top = std::min(a.top, b.top);
    both.right = std::max(a.right, b.right);
    both.bottom = std::max(a.bottom, b.bottom);
    return both;
}

void CaptureScreen(const std::string& display, const testsupport::Rect& rect,
                   const std::string& pngPath) {
    if (rect.width() <= 0 || rect.height() <= 0 || rect.left < 0 || rect.top < 0)
        throw std::runtime_error("nothing to capture for " + pngPath);
    const std::string crop = std::to_string(rect.width()) + "x" + std::to_string(rect.height()) +
                             "+" + std::to_string(rect.left) + "+" + std::to_string(rect.top);
    const std::string command = "import -display '" + display + "' -window root -crop " + crop +
                                " +repage 'png:" + pngPath + "'";
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("import failed: " + command);
}

} // namespace gallery
