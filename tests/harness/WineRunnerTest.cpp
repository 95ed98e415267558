// `wine-env.sh start` and `run`, the way the build uses them: ctest runs every
// cross-built test program through `run`, so its exit code and output must be
// the program's, and a program that does not end must not hold the run up.
#include "tools/harness/WineSpawn.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {
namespace {

struct Outcome {
    int status;
    std::string output;
};

// Runs wine-env.sh with the arguments and what it prints (stdout and stderr).
Outcome wineEnv(std::vector<std::string> args,
                std::map<std::string, std::string> environment = {}) {
    const char* script = std::getenv("KESTRIX_WINE_ENV");
    if (!script || !*script)
        throw std::runtime_error("KESTRIX_WINE_ENV does not name wine-env.sh");
    char pattern[] = "/tmp/kestrix-wine-runner-test.XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary file");
    ::close(fd);
    args.insert(args.begin(), script);
    const pid_t pid = spawnWithLog({args, environment, "", pattern});
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    Outcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : -1, readWholeFile(pattern)};
    std::filesystem::remove(pattern);
    return outcome;
}

TEST(WineRunnerTest, StartIsRepeatableAndNamesTheEnvironment) {
    const Outcome first = wineEnv({"start"});
    ASSERT_EQ(first.status, 0) << first.output;
    EXPECT_NE(first.output.find("export WINEPREFIX="), std::string::npos) << first.output;
    EXPECT_NE(first.output.find("export DISPLAY="), std::string::npos) << first.output;
    const Outcome second = wineEnv({"start"});
    EXPECT_EQ(second.status, 0);
    EXPECT_EQ(second.output, first.output) << "the same display and prefix again";
}

TEST(WineRunnerTest, RunGivesTheProgramsExitCodeAndOutput) {
    const Outcome ok = wineEnv({"run", "cmd", "/c", "echo", "first line&&echo second 1>&2"});
    EXPECT_EQ(ok.status, 0);
    EXPECT_NE(ok.output.find("first line"), std::string::npos) << ok.output;
    EXPECT_NE(ok.output.find("second"), std::string::npos) << "stderr too: " << ok.output;

    const Outcome failed = wineEnv({"run", "cmd", "/c", "exit", "3"});
    EXPECT_EQ(failed.status, 3) << failed.output;
    EXPECT_EQ(failed.output, "") << "quiet when the program is";
}

TEST(WineRunnerTest, RunsOneAfterAnother) {
    for (int round = 0; round < 3; ++round) {
        const Outcome outcome = wineEnv({"run", "cmd", "/c", "exit", std::to_string(round + 10)});
        EXPECT_EQ(outcome.status, round + 10) << outcome.output;
    }
}

TEST(WineRunnerTest, AProgramThatDoesNotEndIsStoppedAtTheTimeout) {
    const Outcome outcome = wineEnv({"run", "winver"}, {{"KESTRIX_WINE_TIMEOUT", "2"}});
    EXPECT_EQ(outcome.status, 124) << outcome.output;
    EXPECT_NE(outcome.output.find("did not end within 2 s"), std::string::npos) << outcome.output;
}

TEST(WineRunnerTest, RefusesBadUse) {
    EXPECT_NE(wineEnv({}).status, 0);
    EXPECT_NE(wineEnv({"dance"}).status, 0);
    EXPECT_NE(wineEnv({"run"}).status, 0);
    EXPECT_NE(wineEnv({"run", "cmd"}, {{"KESTRIX_WINE_TIMEOUT", "soon"}}).status, 0);
    const Outcome missing = wineEnv({"trust-ca", "/nonexistent/ca.der"});
    EXPECT_NE(missing.status, 0);
    EXPECT_NE(missing.output.find("cannot read"), std::string::npos) << missing.output;
}

// Each width has a prefix of its own, run by the loader of that width: a 64-bit
// prefix reports AMD64 to its programs, a 32-bit one x86.
TEST(WineRunnerTest, RunsThePrefixOfTheWidthAsked) {
    const char* arch = std::getenv("KESTRIX_WINE_ARCH");
    ASSERT_TRUE(arch && (std::string(arch) == "win32" || std::string(arch) == "win64"));
    const Outcome outcome = wineEnv({"run", "cmd", "/c", "echo", "%PROCESSOR_ARCHITECTURE%"});
    ASSERT_EQ(outcome.status, 0) << outcome.output;
    const std::string expected = std::string(arch) == "win64" ? "AMD64" : "x86";
    EXPECT_EQ(outcome.output.substr(0, outcome.output.find_first_of("\r\n")), expected)
        << outcome.output;

    const Outcome start = wineEnv({"start"});
    EXPECT_NE(start.output.find(std::string("export WINEARCH=") + arch + "\n"), std::string::npos)
        << start.output;

    const Outcome unknown = wineEnv({"start"}, {{"KESTRIX_WINE_ARCH", "win16"}});
    EXPECT_NE(unknown.status, 0);
    EXPECT_NE(unknown.output.find("KESTRIX_WINE_ARCH"), std::string::npos) << unknown.output;
}

} // namespace
} // namespace testsupport
