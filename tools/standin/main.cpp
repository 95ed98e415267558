// kestrix-standin: the vendor's update server, package host, log-configuration
// server and log collector on loopback, for the end-to-end tests and the demo.
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <pthread.h>

#include "tools/standin/AtomicFile.h"
#include "tools/standin/CommandLine.h"
#include "tools/standin/ControlApi.h"
#include "tools/standin/JsonText.h"
#include "tools/standin/Log.h"
#include "tools/standin/ServiceListeners.h"
#include "tools/standin/TestCertificates.h"
#include "tools/standin/TlsServerContext.h"

namespace {

using namespace standin;

void writePortsFile(const std::string& stateDir, const Ports& ports) {
    writeFileAtomically(stateDir + "/ports.json", writeJson(portsJson(ports)) + "\n", 0644);
}

int run(const Options& options, const sigset_t& stopSignals) {
    std::filesystem::create_directories(options.stateDir);
    CertificateReport certificates =
        ensureTestCertificates(options.stateDir, std::time(nullptr), options.serverNames);
    logLine(std::string(certificates.caGenerated ? "generated" : "reusing") + " the test CA " +
            certificates.paths.caPem +
            (certificates.serverGenerated ? "; generated a new server certificate"
                                          : "; reusing the server certificate"));
    if (certificates.untrustedGenerated || certificates.wrongHostGenerated) {
        logLine("generated the certificates for refusal tests");
    }
    TlsServerContexts tls = makeTlsServerContexts(certificates.paths);

    StandinState state;
    for (const auto& [name, path] : options.packages) {
        state.packages.addStartup(describeFilePackage(name, path));
    }
    ServiceListeners listeners(state, tls);
    listeners.bind(options.ports, options.addresses);
    ControlApi control(state, listeners);
    control.bind(options.ports.control);
    listeners.start();
    control.start();
    writePortsFile(options.stateDir, state.ports);
    std::cout << "ready" << std::endl;

    int signal = 0;
    while (sigwait(&stopSignals, &signal) != 0) {
    }
    logLine(std::string("stopping on ") + (signal == SIGINT ? "SIGINT" : "SIGTERM"));
    state.lifeline.stop();
    control.stop();
    listeners.stop();
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    try {
        options = parseCommandLine(std::vector<std::string>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::cerr << "kestrix-standin: " << error.what() << "\n" << usageText();
        return 2;
    }
    if (options.help) {
        std::cout << usageText();
        return 0;
    }
    // Signals are taken by sigwait on the main thread only; every thread
    // started later inherits the mask.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    std::signal(SIGPIPE, SIG_IGN);
    try {
        return run(options, stopSignals);
    } catch (const std::exception& error) {
        logLine(std::string("cannot start: ") + error.what());
        return 1;
    }
}
