#pragma once
#include "tools/gallery/Languages.h"
#include "tools/gallery/ViewTour.h"

#include <filesystem>
#include <string>
#include <vector>

namespace gallery {

// What one language gave: its pictures and, if the tour stopped, why.
struct LanguageShots {
    Language language;
    std::vector<Shot> shots;
    std::string error;
};

// Text made safe for HTML content and attribute values; a line break
// becomes <br>.
std::string EscapeHtml(const std::string& text);

// index.html in the folder: a grid of the pictures, a row per language and a
// column per view, each picture linking to itself at full size.
void WriteIndexPage(const std::filesystem::path& folder, const std::vector<LanguageShots>& rows);

} // namespace gallery
