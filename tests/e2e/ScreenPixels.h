#pragma once
#include "tools/harness/UiDriverTypes.h"

#include <ostream>
#include <string>
#include <vector>

namespace e2e {

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb& other) const { return r == other.r && g == other.g && b == other.b; }
    bool operator!=(const Rgb& other) const { return !(*this == other); }
};
std::string Describe(const Rgb& colour); // "(29,130,255)"
inline std::ostream& operator<<(std::ostream& out, const Rgb& colour) {
    return out << Describe(colour);
}

// What the X display shows, read through ImageMagick's `import`; these throw
// std::runtime_error when `import` fails.
// One row of pixels, left to right.
std::vector<Rgb> ReadScreenRow(const std::string& display, int x, int y, int width);
// Saves a part of the display as a PNG.
void SaveScreen(const std::string& display, const testsupport::Rect& rect,
                const std::string& pngPath);
// How many pixels of the PNG differ from that region of another picture
// (ImageMagick's `compare -metric AE`).
long DifferingPixels(const std::string& pngPath, const std::string& referencePath,
                     const testsupport::Rect& region);

} // namespace e2e
