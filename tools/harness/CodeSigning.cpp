#include "tools/harness/CodeSigning.h"

#include "tools/harness/WineSpawn.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>

namespace testsupport {

void SignProgram(const std::string& certsDir, const Signer& signer, const std::string& in,
                 const std::string& out) {
    const std::string log = out + ".signing.log";
    const pid_t pid =
        spawnWithLog({{KESTRIX_SIGN_PROGRAM_SCRIPT, certsDir, signer.name, in, out}, {}, "", log});
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const std::string output = readWholeFile(log);
    std::filesystem::remove(log);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("could not sign " + in + ": " + output);
}

} // namespace testsupport
