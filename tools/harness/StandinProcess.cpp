#include "tools/harness/StandinProcess.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

#include "tools/standin/FileDescriptor.h"
#include "tools/standin/JsonText.h"

namespace testsupport {

namespace {

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string tail(const std::string& text, std::size_t bytes) {
    return text.size() <= bytes ? text : "..." + text.substr(text.size() - bytes);
}

} // namespace

std::string StandinOptions::defaultExecutable() {
    if (const char* path = std::getenv("KESTRIX_STANDIN"); path && *path) {
        return path;
    }
    return KESTRIX_STANDIN_PATH;
}

StandinProcess::StandinProcess(StandinOptions options) : options_(std::move(options)) {
    if (options_.stateDir.empty()) {
        throw std::invalid_argument("StandinOptions::stateDir is required");
    }
    if (options_.logFile.empty()) {
        options_.logFile = options_.stateDir + "/standin.log";
    }
    std::filesystem::create_directories(options_.stateDir);
    // A ports file from an earlier run must not be taken for this one's.
    std::filesystem::remove(options_.stateDir + "/ports.json");
    spawn();
    waitUntilReady();
}

StandinProcess::~StandinProcess() {
    stop();
}

void StandinProcess::spawn() {
    std::vector<std::string> arguments = {options_.executable,
                                          "--state-dir",
                                          options_.stateDir,
                                          "--update-port",
                                          std::to_string(options_.ports.update),
                                          "--package-port",
                                          std::to_string(options_.ports.package),
                                          "--logconf-port",
                                          std::to_string(options_.ports.logConf),
                                          "--collector-port",
                                          std::to_string(options_.ports.collector),
                                          "--control-port",
                                          std::to_string(options_.ports.control)};
    for (const auto& [service, address] : options_.addresses) {
        arguments.push_back("--address");
        arguments.push_back(service + "=" + address);
    }
    for (const std::string& name : options_.serverNames) {
        arguments.push_back("--server-name");
        arguments.push_back(name);
    }
    for (const std::string& package : options_.packages) {
        arguments.push_back("--package");
        arguments.push_back(package);
    }
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);

    standin::FileDescriptor log(
        ::open(options_.logFile.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644));
    standin::FileDescriptor input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (!log.valid() || !input.valid()) {
        throw std::runtime_error("cannot open " + options_.logFile + ": " + std::strerror(errno));
    }
    pid_t parent = ::getpid();
    pid_ = ::fork();
    if (pid_ < 0) {
        throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
    }
    if (pid_ == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (::getppid() != parent) {
            ::_exit(126);
        }
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        ::dup2(input.get(), 0);
        ::dup2(log.get(), 1);
        ::dup2(log.get(), 2);
        ::execv(argv[0], argv.data());
        const char message[] = "StandinProcess: cannot execute the stand-in\n";
        (void)!::write(2, message, sizeof message - 1);
        ::_exit(127);
    }
}

void StandinProcess::waitUntilReady() {
    auto deadline = std::chrono::steady_clock::now() + options_.readyTimeout;
    std::string portsFile = options_.stateDir + "/ports.json";
    while (std::chrono::steady_clock::now() < deadline) {
        int status = 0;
        if (::waitpid(pid_, &status, WNOHANG) == pid_) {
            pid_ = -1;
            failStarting("kestrix-standin exited with status " +
                         std::to_string(WIFEXITED(status) ? WEXITSTATUS(status) : -1));
        }
        std::string error;
        std::optional<Json::Value> ports = standin::parseJson(readFile(portsFile), error);
        if (ports && ports->isObject()) {
            ports_.update = (*ports)["update"].asInt();
            ports_.package = (*ports)["package"].asInt();
            ports_.logConf = (*ports)["logconf"].asInt();
            ports_.collector = (*ports)["collector"].asInt();
            ports_.control = (*ports)["control"].asInt();
            if (client().ready()) {
                return;
            }
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    failStarting("kestrix-standin was not ready within " +
                 std::to_string(options_.readyTimeout.count()) + " ms");
}

void StandinProcess::failStarting(const std::string& what) {
    stop();
    throw std::runtime_error(what + " (" + options_.executable + "); its log " + options_.logFile +
                             " ends with:\n" + tail(readFile(options_.logFile), 2000));
}

int StandinProcess::stop() {
    if (pid_ <= 0) {
        return -1;
    }
    ::kill(pid_, SIGTERM);
    int status = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    pid_t done = 0;
    while ((done = ::waitpid(pid_, &status, WNOHANG)) == 0 &&
           std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    if (done == 0) {
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, &status, 0);
    }
    pid_ = -1;
    return status;
}

} // namespace testsupport
