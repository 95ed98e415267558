#include "tools/harness/WineProcess.h"

#include "tools/harness/WineSpawn.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <sys/resource.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace testsupport {

namespace {

std::string temporaryLog() {
    char pattern[] = "/tmp/kestrix-wine-process.XXXXXX";
    const int fd = ::mkstemp(pattern);
    if (fd < 0)
        throw std::runtime_error("cannot make a temporary log file");
    ::close(fd);
    return pattern;
}

} // namespace

WineProcess::WineProcess(const WineEnvironment& wine, const std::string& program,
                         WineProcessOptions options)
    : logPath_(options.logPath) {
    if (program.find('/') != std::string::npos && !std::filesystem::is_regular_file(program))
        throw std::runtime_error("no such program: " + program);
    if (logPath_.empty()) {
        logPath_ = temporaryLog();
        ownsLog_ = true;
    }
    SpawnRequest request;
    request.argv = {wine.loader, program};
    request.argv.insert(request.argv.end(), options.args.begin(), options.args.end());
    request.environment = wine.variables();
    for (const auto& [name, value] : options.environment)
        request.environment[name] = value;
    request.workDir = options.workDir;
    request.fileSizeLimit = options.fileSizeLimit;
    request.logPath = logPath_;
    try {
        pid_ = spawnWithLog(request);
    } catch (...) {
        if (ownsLog_)
            std::filesystem::remove(logPath_);
        throw;
    }
}

WineProcess::~WineProcess() {
    kill();
    if (ownsLog_) {
        std::error_code ignored;
        std::filesystem::remove(logPath_, ignored);
    }
}

bool WineProcess::reap(bool block) {
    if (status_)
        return true;
    int status = 0;
    rusage used{};
    pid_t result;
    do {
        result = ::wait4(pid_, &status, block ? 0 : WNOHANG, &used);
    } while (result < 0 && errno == EINTR);
    if (result != pid_)
        return false;
    status_ = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    usage_ = ProcessUsage{seconds(used.ru_utime) + seconds(used.ru_stime), used.ru_maxrss};
    return true;
}

std::optional<int> WineProcess::waitForExit(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!reap(false)) {
        if (std::chrono::steady_clock::now() >= deadline)
            return std::nullopt;
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return status_;
}

bool WineProcess::running() {
    return !reap(false);
}

void WineProcess::kill() {
    if (reap(false))
        return;
    ::kill(pid_, SIGKILL);
    reap(true);
}

std::string WineProcess::log() const {
    return readWholeFile(logPath_);
}

} // namespace testsupport
