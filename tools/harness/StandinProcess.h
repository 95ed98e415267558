#pragma once
#include <chrono>
#include <map>
#include <string>
#include <sys/types.h>
#include <vector>

#include "tools/harness/HttpControlTransport.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinTypes.h"

namespace testsupport {

struct StandinOptions {
    std::string executable = defaultExecutable(); // the built kestrix-standin
    std::string stateDir;                         // certificates and ports.json; made if missing
    std::string logFile;                          // empty: <stateDir>/standin.log (appended)
    StandinPorts ports;                           // 0 picks a free port
    // Service name -> the one IPv4 address it listens on (default: 127.0.0.1 and ::1).
    std::map<std::string, std::string> addresses;
    std::vector<std::string> serverNames; // host names the TLS certificate covers besides localhost
    std::vector<std::string> packages;    // NAME=PATH, served from the start
    std::chrono::milliseconds readyTimeout{20000};

    // $KESTRIX_STANDIN when set, else the kestrix-standin of this build tree.
    static std::string defaultExecutable();
};

// Runs kestrix-standin for the lifetime of the object. The constructor
// returns once every service listens (or throws std::runtime_error with the
// end of the log); the destructor stops it: SIGTERM, then SIGKILL after 5 s.
// The child's output goes to the log file, never a pipe, and the child is
// told to end should this process die first.
class StandinProcess {
public:
    explicit StandinProcess(StandinOptions options);
    StandinProcess(const StandinProcess&) = delete;
    StandinProcess& operator=(const StandinProcess&) = delete;
    ~StandinProcess();

    const StandinPorts& ports() const { return ports_; }
    StandinClient client() const { return StandinClient(HttpControlTransport, ports_.control); }
    std::string caPemPath() const { return options_.stateDir + "/ca.pem"; }
    std::string caDerPath() const { return options_.stateDir + "/ca.der"; }
    const std::string& logFile() const { return options_.logFile; }
    pid_t pid() const { return pid_; }

    // Idempotent; returns the exit status as waitpid reports it (-1 if not running).
    int stop();

private:
    void spawn();
    void waitUntilReady();
    [[noreturn]] void failStarting(const std::string& what);

    StandinOptions options_;
    StandinPorts ports_;
    pid_t pid_ = -1;
};

} // namespace testsupport
