#pragma once
#include "tools/harness/UiDriverTypes.h"

#include <string>

namespace gallery {

// The smallest rectangle holding both.
testsupport::Rect Union(const testsupport::Rect& a, const testsupport::Rect& b);

// Saves that part of the X display as a PNG with ImageMagick's `import`;
// throws std::runtime_error when it fails.
void CaptureScreen(const std::string& display, const testsupport::Rect& rect,
                   const std::string& pngPath);

} // namespace gallery
