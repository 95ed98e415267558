#pragma once
#include <string>
#include <vector>

namespace gallery {

// A language of the installer and the locale that makes Wine report it as the
// user's display language.
struct Language {
    std::string tag;    // "ko-KR", also the pictures' file-name prefix
    std::string locale; // "ko_KR.UTF-8", for LANG and LC_ALL
    std::string name;   // "Korean", for the index page
};

// The fifteen languages of the installer's resources, in the index's order.
const std::vector<Language>& InstallerLanguages();

} // namespace gallery
