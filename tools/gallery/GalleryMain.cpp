// `make gallery`: every view of the installer in every language, under Wine,
// as pictures in build/gallery/ and a list of them, shots.json, from which
// tools/gallery/index-page.py makes the index.html grid (language x view).
//
//   kestrix-gallery <output folder> [language tag...]
//
// Needs KESTRIX_WINE_ENV, KESTRIX_UIDRIVER_EXE and KESTRIX_INSTALLER_EXE, as
// tools/gallery/gallery.sh sets them.
#include "tools/gallery/Languages.h"
#include "tools/gallery/ViewTour.h"
#include "tools/harness/StandinProcess.h"
#include "tools/harness/UiDriver.h"
#include "tools/harness/WineEnvironment.h"

#include <json/json.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <stdexcept>

namespace fs = std::filesystem;

namespace {

std::vector<gallery::Language> ChosenLanguages(int argc, char** argv) {
    if (argc <= 2)
        return gallery::InstallerLanguages();
    std::vector<gallery::Language> chosen;
    for (int i = 2; i < argc; ++i) {
        bool known = false;
        for (const gallery::Language& language : gallery::InstallerLanguages()) {
            if (language.tag == argv[i]) {
                chosen.push_back(language);
                known = true;
            }
        }
        if (!known)
            throw std::runtime_error(std::string("no installer language ") + argv[i]);
    }
    return chosen;
}

// What one language gave: its pictures and, if the tour stopped, why.
struct LanguageShots {
    gallery::Language language;
    std::vector<gallery::Shot> shots;
    std::string error;
};

// shots.json: the views in order, and per language its pictures by view.
void WriteShotList(const fs::path& folder, const std::vector<LanguageShots>& rows) {
    Json::Value list(Json::objectValue);
    for (const gallery::View view : gallery::kViews)
        list["views"].append(gallery::ViewLabel(view));
    for (const LanguageShots& row : rows) {
        Json::Value entry(Json::objectValue);
        entry["tag"] = row.language.tag;
        entry["name"] = row.language.name;
        entry["error"] = row.error;
        entry["shots"] = Json::Value(Json::objectValue);
        for (const gallery::Shot& shot : row.shots) {
            Json::Value& picture = entry["shots"][gallery::ViewLabel(shot.view)];
            picture["file"] = shot.file.filename().string();
            picture["text"] = shot.text;
        }
        list["rows"].append(entry);
    }
    std::ofstream out(folder / "shots.json", std::ios::binary | std::ios::trunc);
    out << Json::writeString(Json::StreamWriterBuilder(), list) << "\n";
    if (!out)
        throw std::runtime_error("could not write " + (folder / "shots.json").string());
}

// Where the installer puts the package, inside the prefix.
fs::path SetupFolder(const testsupport::WineEnvironment& wine) {
    return fs::path(wine.roamingFolder()) / "KestrixOffice/Setup";
}

int Run(const fs::path& output, const std::vector<gallery::Language>& languages) {
    const auto started = std::chrono::steady_clock::now();
    fs::create_directories(output / "logs");
    const testsupport::WineEnvironment wine =
        testsupport::WineEnvironment::fromProcessEnvironment();

    // The installer of the test build talks to the fixed loopback ports.
    testsupport::StandinOptions options;
    options.stateDir = (fs::path(wine.prefix).parent_path() / "certs").string();
    options.logFile = (output / "logs" / "standin.log").string();
    testsupport::StandinProcess standin(options);
    const std::string trust = testsupport::requiredVariable("KESTRIX_WINE_ENV") + " trust-ca '" +
                              standin.caDerPath() + "' >/dev/null";
    if (std::system(trust.c_str()) != 0)
        throw std::runtime_error("could not trust the stand-in's CA in the Wine prefix");
    testsupport::UiDriver driver(wine, testsupport::requiredVariable("KESTRIX_UIDRIVER_EXE"));
    gallery::ViewTour tour(wine, driver, standin.client(),
                           testsupport::requiredVariable("KESTRIX_INSTALLER_EXE"), output);

    std::vector<LanguageShots> rows;
    int failures = 0;
    for (const gallery::Language& language : languages) {
        rows.push_back({language, {}, {}});
        try {
            tour.Run(language, rows.back().shots);
        } catch (const std::exception& error) {
            rows.back().error = error.what();
            ++failures;
        }
        std::cout << "gallery: " << language.tag << " " << rows.back().shots.size() << " views"
                  << (rows.back().error.empty() ? "" : " (" + rows.back().error + ")") << "\n";
    }
    WriteShotList(output, rows);
    fs::remove_all(SetupFolder(wine));

    const auto seconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - started)
            .count();
    std::cout << "gallery: " << (output / "shots.json").string() << " (" << languages.size()
              << " languages in " << seconds << " s, the " << wine.widthName()
              << " test build under " << wine.widthName() << " Wine)\n";
    return failures == 0 ? 0 : 1;
}

} // namespace

int main(int argc, char** argv) {
    try {
        return Run(argc > 1 ? argv[1] : "build/gallery", ChosenLanguages(argc, argv));
    } catch (const std::exception& error) {
        std::cerr << "gallery: " << error.what() << "\n";
        return 1;
    }
}
