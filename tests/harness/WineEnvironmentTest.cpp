#include "tools/harness/WineEnvironment.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <stdexcept>
#include <unistd.h>

namespace testsupport {
namespace {

// Sets (or unsets) a variable of this process for one test.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : name_(name) {
        if (const char* old = std::getenv(name))
            old_ = old;
        if (value)
            ::setenv(name, value, 1);
        else
            ::unsetenv(name);
    }
    ~ScopedVariable() {
        if (old_)
            ::setenv(name_, old_->c_str(), 1);
        else
            ::unsetenv(name_);
    }

private:
    const char* name_;
    std::optional<std::string> old_;
};

// A stand-in for wine-env.sh that prints the given text and exits with the code.
class FakeScript {
public:
    FakeScript(const std::string& printed, int code) {
        char dir[] = "/tmp/kestrix-wine-env-test.XXXXXX";
        dir_ = ::mkdtemp(dir);
        path_ = dir_ + "/wine-env.sh";
        std::ofstream(path_) << "#!/bin/sh\n[ \"$1\" = start ] || exit 9\ncat <<'EOF'\n"
                             << printed << "EOF\nexit " << code << "\n";
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all);
    }
    ~FakeScript() { std::filesystem::remove_all(dir_); }
    const std::string& path() const { return path_; }

private:
    std::string dir_;
    std::string path_;
};

const char* const kPrinted = "export WINEPREFIX=/work/main/build/wine/win64/prefix\n"
                             "export WINEARCH=win64\n"
                             "export WINELOADER=/usr/lib/wine/wine64\n"
                             "export WINEDEBUG=-all\n"
                             "export DISPLAY=:91\n"
                             "export KESTRIX_BROWSER_LOG=/work/main/build/wine/win64/browser.log\n";

const char* const kWidth = "export WINEARCH=win32 WINELOADER=/usr/lib/wine/wine\n";

// Expects the fields as given, in their order: prefix, display, browser log,
// arch and loader.
void ExpectFields(const WineEnvironment& wine, const WineEnvironment& expected) {
    EXPECT_EQ(wine.prefix, expected.prefix);
    EXPECT_EQ(wine.display, expected.display);
    EXPECT_EQ(wine.browserLog, expected.browserLog);
    EXPECT_EQ(wine.arch, expected.arch);
    EXPECT_EQ(wine.loader, expected.loader);
}

TEST(WineEnvironmentTest, ReadsWhatTheScriptPrints) {
    ExpectFields(WineEnvironment::parse(kPrinted),
                 {"/work/main/build/wine/win64/prefix", ":91",
                  "/work/main/build/wine/win64/browser.log", "win64", "/usr/lib/wine/wine64"});
}

TEST(WineEnvironmentTest, UndoesShellQuoting) {
    const WineEnvironment wine = WineEnvironment::parse(
        std::string("export WINEPREFIX=/tmp/with\\ space/it\\'s DISPLAY=':9 2'\n# comment\n\n"
                    "export KESTRIX_BROWSER_LOG='/tmp/a b'/c\n") +
        kWidth);
    EXPECT_EQ(wine.prefix, "/tmp/with space/it's");
    EXPECT_EQ(wine.display, ":9 2");
    EXPECT_EQ(wine.browserLog, "/tmp/a b/c");
}

TEST(WineEnvironmentTest, RefusesIncompleteOrExpandingText) {
    EXPECT_THROW(WineEnvironment::parse(""), std::runtime_error);
    EXPECT_THROW(WineEnvironment::parse("export DISPLAY=:91\n"), std::runtime_error);
    EXPECT_THROW(WineEnvironment::parse("export WINEPREFIX=/p\n"), std::runtime_error);
    EXPECT_THROW(WineEnvironment::parse("export WINEPREFIX=$HOME/p DISPLAY=:1\n"),
                 std::runtime_error);
    EXPECT_THROW(WineEnvironment::parse("export WINEPREFIX='/p DISPLAY=:1\n"), std::runtime_error);
    EXPECT_THROW(WineEnvironment::parse("export WINEPREFIX DISPLAY=:1\n"), std::runtime_error);
}

// Without the width, a program would run under whichever loader came first.
TEST(WineEnvironmentTest, RefusesAnEnvironmentWithoutItsWidth) {
    EXPECT_THROW(WineEnvironment::parse("export WINEPREFIX=/p DISPLAY=:1 WINEARCH=win64\n"),
                 std::runtime_error);
    EXPECT_THROW(WineEnvironment::parse("export WINEPREFIX=/p DISPLAY=:1 WINELOADER=/w\n"),
                 std::runtime_error);
}

TEST(WineEnvironmentTest, BrowserLogDefaultsToTheStateFolder) {
    const WineEnvironment wine =
        WineEnvironment::parse(std::string("export WINEPREFIX=/s/prefix DISPLAY=:5\n") + kWidth);
    EXPECT_EQ(wine.browserLog, "/s/browser.log");
}

TEST(WineEnvironmentTest, VariablesNameThePrefixItsWidthAndTheDisplay) {
    const auto variables = WineEnvironment::parse(kPrinted).variables();
    EXPECT_EQ(variables.at("WINEPREFIX"), "/work/main/build/wine/win64/prefix");
    EXPECT_EQ(variables.at("DISPLAY"), ":91");
    EXPECT_EQ(variables.at("WINEARCH"), "win64");
    EXPECT_EQ(variables.at("WINELOADER"), "/usr/lib/wine/wine64");
    EXPECT_EQ(variables.at("WINEDEBUG"), "-all");
}

TEST(WineEnvironmentTest, StartRunsTheScriptAndReadsItsOutput) {
    const FakeScript script(kPrinted, 0);
    EXPECT_EQ(WineEnvironment::start(script.path()).display, ":91");
}

TEST(WineEnvironmentTest, StartReportsAFailingScriptWithItsOutput) {
    const FakeScript script("wine-env: no Xvfb display could be started\n", 1);
    try {
        WineEnvironment::start(script.path());
        FAIL() << "no exception";
    } catch (const std::runtime_error& error) {
        EXPECT_NE(std::string(error.what()).find("no Xvfb display"), std::string::npos);
    }
    EXPECT_THROW(WineEnvironment::start("/nonexistent/wine-env.sh"), std::runtime_error);
}

TEST(WineEnvironmentTest, ProcessEnvironmentComesFirst) {
    const ScopedVariable prefix("WINEPREFIX", "/x/prefix");
    const ScopedVariable display("DISPLAY", ":77");
    const ScopedVariable arch("WINEARCH", "win32");
    const ScopedVariable loader("WINELOADER", "/usr/lib/wine/wine");
    const ScopedVariable log("KESTRIX_BROWSER_LOG", nullptr);
    const ScopedVariable script("KESTRIX_WINE_ENV", "/nonexistent/wine-env.sh");
    ExpectFields(WineEnvironment::fromProcessEnvironment(),
                 {"/x/prefix", ":77", "/x/browser.log", "win32", "/usr/lib/wine/wine"});
}

TEST(WineEnvironmentTest, WithoutProcessEnvironmentTheScriptIsStarted) {
    const FakeScript fake(kPrinted, 0);
    const ScopedVariable prefix("WINEPREFIX", nullptr);
    const ScopedVariable display("DISPLAY", ":0");
    const ScopedVariable script("KESTRIX_WINE_ENV", fake.path().c_str());
    EXPECT_EQ(WineEnvironment::fromProcessEnvironment().display, ":91");

    const ScopedVariable noScript("KESTRIX_WINE_ENV", nullptr);
    EXPECT_THROW(WineEnvironment::fromProcessEnvironment(), std::runtime_error);
}

} // namespace
} // namespace testsupport
