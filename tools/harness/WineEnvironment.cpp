#include "tools/harness/WineEnvironment.h"

#include "tools/harness/WineSpawn.h"

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <sstream>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// One shell word as printf %q writes it: backslash escapes and quotes, no
// expansions. Returns false for forms it does not write for paths ($'...').
bool unquote(const std::string& word, std::string& value) {
    value.clear();
    for (size_t i = 0; i < word.size(); ++i) {
        const char c = word[i];
        if (c == '\\') {
            if (++i == word.size())
                return false;
            value += word[i];
        } else if (c == '\'') {
            const size_t end = word.find('\'', i + 1);
            if (end == std::string::npos)
                return false;
            value += word.substr(i + 1, end - i - 1);
            i = end;
        } else if (c == '$' || c == '"' || c == '`') {
            return false;
        } else {
            value += c;
        }
    }
    return true;
}

// Splits a line into words at unescaped, unquoted blanks.
std::vector<std::string> words(const std::string& line) {
    std::vector<std::string> result;
    std::string current;
    bool quoted = false;
    for (size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (!quoted && (c == ' ' || c == '\t')) {
            if (!current.empty())
                result.push_back(current);
            current.clear();
            continue;
        }
        current += c;
        if (c == '\\' && !quoted && i + 1 < line.size())
            current += line[++i];
        else if (c == '\'')
            quoted = !quoted;
    }
    if (!current.empty())
        result.push_back(current);
    return result;
}

std::string browserLogNextTo(const std::string& prefix) {
    return (std::filesystem::path(prefix).parent_path() / "browser.log").string();
}

std::string variable(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

} // namespace

namespace {

std::string userName() {
    const passwd* entry = ::getpwuid(::getuid());
    return entry ? entry->pw_name : "root";
}

} // namespace

std::string WineEnvironment::roamingFolder() const {
    return prefix + "/drive_c/users/" + userName() + "/AppData/Roaming";
}

std::string WineEnvironment::windowsRoamingFolder() {
    return "C:\\users\\" + userName() + "\\AppData\\Roaming";
}

std::string requiredVariable(const char* name) {
    const char* value = std::getenv(name);
    if (!value || !*value)
        throw std::runtime_error(std::string(name) + " is not set");
    return value;
}

std::map<std::string, std::string> WineEnvironment::variables() const {
    return {{"WINEPREFIX", prefix}, {"WINEARCH", arch},    {"WINELOADER", loader},
            {"DISPLAY", display},   {"WINEDEBUG", "-all"}, {"KESTRIX_BROWSER_LOG", browserLog}};
}

WineEnvironment WineEnvironment::parse(const std::string& exportLines) {
    std::map<std::string, std::string> found;
    std::istringstream lines(exportLines);
    std::string line;
    while (std::getline(lines, line)) {
        const std::vector<std::string> parts = words(line);
        if (parts.empty() || parts[0] != "export")
            continue;
        for (size_t i = 1; i < parts.size(); ++i) {
            const size_t equals = parts[i].find('=');
            std::string value;
            if (equals == std::string::npos || !unquote(parts[i].substr(equals + 1), value))
                throw std::runtime_error("cannot read the Wine environment at: " + parts[i]);
            found[parts[i].substr(0, equals)] = value;
        }
    }
    for (const char* name : {"WINEPREFIX", "WINEARCH", "WINELOADER", "DISPLAY"}) {
        if (found[name].empty())
            throw std::runtime_error(std::string("the Wine environment lacks ") + name + ": " +
                                     exportLines);
    }
    WineEnvironment environment{found["WINEPREFIX"], found["DISPLAY"], found["KESTRIX_BROWSER_LOG"],
                                found["WINEARCH"], found["WINELOADER"]};
    if (environment.browserLog.empty())
        environment.browserLog = browserLogNextTo(environment.prefix);
    return environment;
}

WineEnvironment WineEnvironment::start(const std::string& wineEnvScript) {
    char pattern[] = "/tmp/kestrix-wine-env.XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary file");
    ::close(fd);
    const std::string output = pattern;
    int status = 0;
    try {
        const pid_t pid = spawnWithLog({{wineEnvScript, "start"}, {}, "", output});
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
    } catch (...) {
        std::filesystem::remove(output);
        throw;
    }
    const std::string printed = readWholeFile(output);
    std::filesystem::remove(output);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error(wineEnvScript + " start failed: " + printed);
    return parse(printed);
}

WineEnvironment WineEnvironment::fromProcessEnvironment() {
    WineEnvironment own{variable("WINEPREFIX"), variable("DISPLAY"),
                        variable("KESTRIX_BROWSER_LOG"), variable("WINEARCH"),
                        variable("WINELOADER")};
    if (!own.prefix.empty() && !own.display.empty() && !own.arch.empty() && !own.loader.empty()) {
        if (own.browserLog.empty())
            own.browserLog = browserLogNextTo(own.prefix);
        return own;
    }
    const char* script = std::getenv("KESTRIX_WINE_ENV");
    if (!script || !*script)
        throw std::runtime_error(
            "no Wine environment: set WINEPREFIX and DISPLAY, or KESTRIX_WINE_ENV to wine-env.sh");
    return start(script);
}

} // namespace testsupport
