#include "tools/gallery/IndexPage.h"

#include <algorithm>
#include <fstream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace gallery {

namespace {

const Shot* ShotOf(const LanguageShots& row, View view) {
    for (const Shot& shot : row.shots) {
        if (shot.view == view)
            return &shot;
    }
    return nullptr;
}

void WriteCell(std::ostream& out, const LanguageShots& row, View view) {
    const Shot* shot = ShotOf(row, view);
    if (!shot) {
        out << "<td class=\"missing\">not taken</td>\n";
        return;
    }
    const std::string file = EscapeHtml(shot->file.filename().string());
    const std::string text = EscapeHtml(shot->text);
    std::string alt = shot->text;
    std::replace(alt.begin(), alt.end(), '\n', ' ');
    out << "<td><a href=\"" << file << "\"><img src=\"" << file << "\" alt=\"" << EscapeHtml(alt)
        << "\" loading=\"lazy\"></a><div class=\"text\" lang=\"" << row.language.tag
        << "\" dir=\"auto\">" << text << "</div></td>\n";
}

} // namespace

std::string EscapeHtml(const std::string& text) {
    std::string escaped;
    for (const char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '>':
            escaped += "&gt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        case '\n':
            escaped += "<br>";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

void WriteIndexPage(const fs::path& folder, const std::vector<LanguageShots>& rows) {
    std::ofstream out(folder / "index.html", std::ios::binary | std::ios::trunc);
    out << "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        << "<title>Kestrix Office installer: every view in every language</title>\n"
        << "<style>\n"
        << "body { font-family: sans-serif; margin: 1em; }\n"
        << "table { border-collapse: collapse; }\n"
        << "th, td { border: 1px solid #ccc; padding: 6px; vertical-align: top; }\n"
        << "th[scope=row] { text-align: left; white-space: nowrap; }\n"
        << "img { width: 350px; display: block; }\n"
        << ".text { font-size: 12px; max-width: 350px; margin-top: 4px; }\n"
        << ".missing, .error { color: #b00; }\n"
        << "</style>\n</head>\n<body>\n"
        << "<h1>Kestrix Office installer under Wine</h1>\n"
        << "<table>\n<tr><th>Language</th>";
    for (const View view : kViews)
        out << "<th>" << ViewLabel(view) << "</th>";
    out << "</tr>\n";
    for (const LanguageShots& row : rows) {
        out << "<tr><th scope=\"row\">" << EscapeHtml(row.language.name) << "<br>"
            << row.language.tag;
        if (!row.error.empty())
            out << "<div class=\"error\">" << EscapeHtml(row.error) << "</div>";
        out << "</th>\n";
        for (const View view : kViews)
            WriteCell(out, row, view);
        out << "</tr>\n";
    }
    out << "</table>\n</body>\n</html>\n";
    if (!out)
        throw std::runtime_error("could not write " + (folder / "index.html").string());
}

} // namespace gallery
