#include "tools/harness/CodeSigning.h"

#include "tools/harness/WineSpawn.h"

#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <stdexcept>
#include <sys/wait.h>
#include <unistd.h>

namespace testsupport {

namespace {

// Runs sign-program.sh and returns its output; throws with it when it fails.
std::string RunSigningScript(std::vector<std::string> arguments,
                             const std::map<std::string, std::string>& environment,
                             const std::string& log, const std::string& what) {
    arguments.insert(arguments.begin(), KESTRIX_SIGN_PROGRAM_SCRIPT);
    const pid_t pid = spawnWithLog({arguments, environment, "", log});
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    const std::string output = readWholeFile(log);
    std::filesystem::remove(log);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("could not " + what + ": " + output);
    return output;
}

} // namespace

Signer Signer::Named(const std::string& subject, const std::string& issuerSubject) {
    Signer signer{"named", {{"KESTRIX_SIGN_SUBJECT", subject}}};
    if (!issuerSubject.empty())
        signer.environment["KESTRIX_SIGN_ISSUER"] = issuerSubject;
    return signer;
}

void SignProgram(const std::string& certsDir, const Signer& signer, const std::string& in,
                 const std::string& out) {
    RunSigningScript({certsDir, signer.name, in, out}, signer.environment, out + ".signing.log",
                     "sign " + in);
}

std::string SigningCaDer(const std::string& certsDir, const std::string& subject) {
    const std::string log = certsDir + "/signing-ca-" + std::to_string(::getpid()) + ".log";
    std::string output =
        RunSigningScript({certsDir, "ca", subject}, {}, log, "make the signing CA " + subject);
    while (!output.empty() && (output.back() == '\n' || output.back() == '\r'))
        output.pop_back();
    const std::size_t lineStart = output.rfind('\n');
    return lineStart == std::string::npos ? output : output.substr(lineStart + 1);
}

} // namespace testsupport
