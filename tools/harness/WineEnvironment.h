#pragma once
#include <map>
#include <string>

namespace testsupport {

// Where the Wine programs of the tests run: the prefix, its width and the Wine
// loader of that width, the X display and the file the prefix's stand-in
// browser appends opened URLs to. Made ready by tools/wine/wine-env.sh.
struct WineEnvironment {
    std::string prefix;     // WINEPREFIX
    std::string display;    // DISPLAY
    std::string browserLog; // KESTRIX_BROWSER_LOG
    std::string arch;       // WINEARCH: win32 or win64
    std::string loader;     // WINELOADER: the program that runs a Windows program of that width

    // "32-bit" or "64-bit", for what a run reports.
    std::string widthName() const { return arch == "win64" ? "64-bit" : "32-bit"; }

    // The roaming application-data folder of the prefix's Windows user (who is
    // the Unix user), as a Unix path and as Windows programs name it.
    std::string roamingFolder() const;
    static std::string windowsRoamingFolder();

    // The variables a Wine program of the tests runs with.
    std::map<std::string, std::string> variables() const;

    // Reads the `export NAME=value ...` lines that `wine-env.sh start` prints and
    // writes to build/wine/<arch>/env.sh (values quoted as bash's printf %q does).
    // Throws std::runtime_error when WINEPREFIX, WINEARCH, WINELOADER or DISPLAY
    // is missing.
    static WineEnvironment parse(const std::string& exportLines);

    // Runs `<script> start` (idempotent: it starts Xvfb and creates the prefix
    // only when needed) and reads what it prints. Throws std::runtime_error
    // with the script's output when it fails.
    static WineEnvironment start(const std::string& wineEnvScript);

    // WINEPREFIX, WINEARCH, WINELOADER and DISPLAY of this process when all are
    // set (KESTRIX_BROWSER_LOG, or browser.log next to the prefix); otherwise
    // start() with the script named by KESTRIX_WINE_ENV, for the width named by
    // KESTRIX_WINE_ARCH. Throws std::runtime_error when neither is there.
    static WineEnvironment fromProcessEnvironment();
};

// The value of an environment variable the caller cannot do without; throws
// std::runtime_error when it is unset or empty.
std::string requiredVariable(const char* name);

} // namespace testsupport
