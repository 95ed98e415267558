// WineProcess with programs every Wine prefix has (cmd, winver), so that these
// run without any program of ours.
#include "tools/harness/WineProcess.h"

#include <gtest/gtest.h>

#include <csignal>
#include <filesystem>
#include <stdexcept>

namespace testsupport {
namespace {

using namespace std::chrono_literals;

const WineEnvironment& wine() {
    static const WineEnvironment environment = WineEnvironment::fromProcessEnvironment();
    return environment;
}

WineProcessOptions withArgs(std::vector<std::string> args) {
    WineProcessOptions options;
    options.args = std::move(args);
    return options;
}

TEST(WineProcessTest, ReportsTheExitCode) {
    WineProcess zero(wine(), "cmd", withArgs({"/c", "exit", "0"}));
    EXPECT_EQ(zero.waitForExit(60s), 0);
    WineProcess seven(wine(), "cmd", withArgs({"/c", "exit", "7"}));
    EXPECT_EQ(seven.waitForExit(60s), 7);
    EXPECT_FALSE(seven.running());
    EXPECT_EQ(seven.waitForExit(0ms), 7) << "the status stays once reaped";
}

TEST(WineProcessTest, PassesArgumentsEnvironmentAndWorkingDirectory) {
    char dir[] = "/tmp/kestrix-wine-cwd.XXXXXX";
    const std::string workDir = ::mkdtemp(dir);
    WineProcessOptions options;
    options.args = {"/c", "echo", "[%KESTRIX_PROBE%]", "&&", "cd"};
    options.environment = {{"KESTRIX_PROBE", "probe value"}};
    options.workDir = workDir;
    WineProcess process(wine(), "cmd", options);
    ASSERT_EQ(process.waitForExit(60s), 0) << process.log();
    const std::string log = process.log();
    EXPECT_NE(log.find("[probe value]"), std::string::npos) << log;
    EXPECT_NE(log.find("Z:\\tmp\\" + std::filesystem::path(workDir).filename().string()),
              std::string::npos)
        << log;
    std::filesystem::remove_all(workDir);
}

TEST(WineProcessTest, WritesTheLogWhereAsked) {
    const std::string logPath = "/tmp/kestrix-wine-process-test.log";
    {
        WineProcessOptions options;
        options.args = {"/c", "echo", "to the log"};
        options.logPath = logPath;
        WineProcess process(wine(), "cmd", options);
        ASSERT_EQ(process.waitForExit(60s), 0);
        EXPECT_EQ(process.logPath(), logPath);
    }
    ASSERT_TRUE(std::filesystem::exists(logPath)) << "a log the caller named is kept";
    std::filesystem::remove(logPath);
}

TEST(WineProcessTest, AProgramThatStaysCanBeKilled) {
    WineProcess process(wine(), "winver");
    EXPECT_FALSE(process.waitForExit(500ms));
    EXPECT_TRUE(process.running());
    process.kill();
    EXPECT_FALSE(process.running());
    EXPECT_EQ(process.waitForExit(0ms), 128 + SIGKILL);
    process.kill();
}

TEST(WineProcessTest, DestructionKillsAProgramThatStillRuns) {
    pid_t pid;
    std::string logPath;
    {
        WineProcess process(wine(), "winver");
        pid = process.pid();
        logPath = process.logPath();
        EXPECT_TRUE(process.running());
    }
    EXPECT_NE(::kill(pid, 0), 0) << "the process is gone and reaped";
    EXPECT_FALSE(std::filesystem::exists(logPath)) << "its temporary log is removed";
}

TEST(WineProcessTest, AMissingProgramIsAnError) {
    EXPECT_THROW(WineProcess(wine(), "/nonexistent/program.exe"), std::runtime_error);
    WineProcess unknown(wine(), "no-such-program.exe");
    const auto status = unknown.waitForExit(60s);
    ASSERT_TRUE(status);
    EXPECT_NE(*status, 0);
}

} // namespace
} // namespace testsupport
