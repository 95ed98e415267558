#pragma once
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

namespace testsupport {

// A child process of the tests: its output goes to a file, never a pipe (Wine's
// background processes inherit the child's descriptors and would keep a pipe
// open long after the child ended).
struct SpawnRequest {
    std::vector<std::string> argv;                  // argv[0] is looked up in PATH
    std::map<std::string, std::string> environment; // set over this process's environment
    std::string workDir;                            // empty: this process's
    std::string logPath;                            // stdout and stderr; made or emptied
    // Largest file the child may write, in bytes (0: no limit): a write
    // beyond it fails as on a full disk.
    unsigned long long fileSizeLimit = 0;
};

// Starts the child with stdin from /dev/null. It is killed when the thread that
// started it ends (tests start children from the test's own thread). Throws
// std::runtime_error when the log cannot be opened or the process not made; a
// program that cannot be executed ends with status 127.
pid_t spawnWithLog(const SpawnRequest& request);

// The whole content of a text file; empty when it cannot be read.
std::string readWholeFile(const std::string& path);

} // namespace testsupport
