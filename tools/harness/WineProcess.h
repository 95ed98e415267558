#pragma once
#include "tools/harness/WineEnvironment.h"

#include <chrono>
#include <map>
#include <optional>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

struct WineProcessOptions {
    std::vector<std::string> args;
    // Set over the Wine variables, e.g. LANG, TZ, KESTRIX_TEST_OFFLINE.
    std::map<std::string, std::string> environment;
    std::string workDir; // empty: the test's own
    std::string logPath; // stdout and stderr; empty: a temporary file, removed with the object
    unsigned long long fileSizeLimit = 0; // largest file the program may write (0: no limit)
};

// What the program's process used over its life: under Wine the Unix process
// is the Windows one (the programs it starts are processes of their own).
struct ProcessUsage {
    double cpuSeconds = 0; // user and system
    long peakResidentKiB = 0;
};

// A Windows program run under Wine in the tests' prefix, as a child process of
// the test. The destructor kills it if it still runs.
class WineProcess {
public:
    // Starts the program (a Unix path to the .exe, or a program of the prefix
    // such as "cmd"). Throws std::runtime_error when it cannot be started.
    WineProcess(const WineEnvironment& wine, const std::string& program,
                WineProcessOptions options = {});
    ~WineProcess();
    WineProcess(const WineProcess&) = delete;
    WineProcess& operator=(const WineProcess&) = delete;

    // The exit status once the program has ended within the timeout, nothing
    // while it still runs. Windows exit codes arrive cut to 8 bits (a code that
    // is a multiple of 256 arrives as 1); a program killed by signal N gives 128+N.
    std::optional<int> waitForExit(std::chrono::milliseconds timeout);
    bool running();
    // Kills the program at once (SIGKILL) and waits for it; nothing if it has ended.
    void kill();

    // Once the program has ended (waitForExit), what it used; nothing before.
    const std::optional<ProcessUsage>& usage() const { return usage_; }

    std::string log() const;
    const std::string& logPath() const { return logPath_; }
    pid_t pid() const { return pid_; }

private:
    bool reap(bool block);

    pid_t pid_ = -1;
    std::optional<int> status_;
    std::optional<ProcessUsage> usage_;
    std::string logPath_;
    bool ownsLog_ = false;
};

} // namespace testsupport
