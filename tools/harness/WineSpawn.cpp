#include "tools/harness/WineSpawn.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <unistd.h>

extern char** environ;

namespace testsupport {

namespace {

class OwnedFd {
public:
    explicit OwnedFd(int fd) : fd_(fd) {}
    ~OwnedFd() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    OwnedFd(const OwnedFd&) = delete;
    OwnedFd& operator=(const OwnedFd&) = delete;
    int get() const { return fd_; }

private:
    int fd_;
};

std::vector<std::string> mergedEnvironment(const std::map<std::string, std::string>& overrides) {
    std::vector<std::string> merged;
    for (char** entry = environ; *entry; ++entry) {
        const std::string variable(*entry);
        const std::string name = variable.substr(0, variable.find('='));
        if (overrides.count(name) == 0)
            merged.push_back(variable);
    }
    for (const auto& [name, value] : overrides)
        merged.push_back(name + "=" + value);
    return merged;
}

// PATH is searched here, before fork, so that the child only calls execve.
std::string resolveProgram(const std::string& name, const std::vector<std::string>& environment) {
    if (name.find('/') != std::string::npos)
        return name;
    std::string path = "/usr/local/bin:/usr/bin:/bin";
    for (const std::string& variable : environment) {
        if (variable.rfind("PATH=", 0) == 0)
            path = variable.substr(5);
    }
    size_t start = 0;
    for (;;) {
        const size_t end = path.find(':', start);
        const std::string dir = path.substr(start, end == std::string::npos ? end : end - start);
        const std::string candidate = (dir.empty() ? "." : dir) + "/" + name;
        if (::access(candidate.c_str(), X_OK) == 0)
            return candidate;
        if (end == std::string::npos)
            return name;
        start = end + 1;
    }
}

std::vector<char*> pointers(std::vector<std::string>& strings) {
    std::vector<char*> result;
    for (std::string& text : strings)
        result.push_back(text.data());
    result.push_back(nullptr);
    return result;
}

} // namespace

pid_t spawnWithLog(const SpawnRequest& request) {
    if (request.argv.empty())
        throw std::invalid_argument("spawnWithLog: no program given");
    std::vector<std::string> environment = mergedEnvironment(request.environment);
    std::vector<std::string> arguments = request.argv;
    const std::string program = resolveProgram(arguments[0], environment);
    std::vector<char*> argv = pointers(arguments);
    std::vector<char*> envp = pointers(environment);

    const OwnedFd log(
        ::open(request.logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (log.get() < 0)
        throw std::runtime_error("cannot open " + request.logPath + ": " + std::strerror(errno));
    const OwnedFd input(::open("/dev/null", O_RDONLY | O_CLOEXEC));
    if (input.get() < 0)
        throw std::runtime_error(std::string("cannot open /dev/null: ") + std::strerror(errno));

    const pid_t parent = ::getpid();
    const pid_t pid = ::fork();
    if (pid < 0)
        throw std::runtime_error(std::string("cannot fork: ") + std::strerror(errno));
    if (pid == 0) {
        // Only async-signal-safe calls between fork and exec.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (::getppid() != parent)
            ::_exit(126);
        sigset_t none;
        sigemptyset(&none);
        ::sigprocmask(SIG_SETMASK, &none, nullptr);
        if (::dup2(input.get(), 0) < 0 || ::dup2(log.get(), 1) < 0 || ::dup2(log.get(), 2) < 0)
            ::_exit(126);
        if (request.fileSizeLimit != 0) {
            // A write beyond the limit then fails with EFBIG instead of a signal.
            const rlimit limit{request.fileSizeLimit, request.fileSizeLimit};
            ::signal(SIGXFSZ, SIG_IGN);
            if (::setrlimit(RLIMIT_FSIZE, &limit) != 0)
                ::_exit(126);
        }
        if (!request.workDir.empty() && ::chdir(request.workDir.c_str()) != 0) {
            const char message[] = "spawnWithLog: cannot enter the working directory\n";
            (void)!::write(2, message, sizeof message - 1);
            ::_exit(126);
        }
        ::execve(program.c_str(), argv.data(), envp.data());
        const char message[] = "spawnWithLog: cannot execute the program\n";
        (void)!::write(2, message, sizeof message - 1);
        ::_exit(127);
    }
    return pid;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

} // namespace testsupport
