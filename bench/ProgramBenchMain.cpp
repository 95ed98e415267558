// The installer as a user meets it, under Wine, against the least programs
// that do the same: from launch to the setup program starting (against a bare
// WinINet loop that opens the file through the shell, and curl natively), how
// quickly its window answers while it downloads, its peak memory and CPU, and
// how soon its window shows (against a minimal dialog program).
//
//   kestrix-program-bench <output folder> [<pairs>]
//
// Prints one JSON object per measurement on stdout; bench/program-report.py
// turns them into the table. Measures only: nothing here judges a time.
#include "tools/harness/PaddedSetup.h"
#include "tools/harness/StandinClient.h"
#include "tools/harness/StandinProcess.h"
#include "tools/harness/UiDriver.h"
#include "tools/harness/WineEnvironment.h"
#include "tools/harness/WineProcess.h"
#include "tools/harness/WineSpawn.h"

#include <json/json.h>

#include <sched.h>
#include <sys/wait.h>

#include <cerrno>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <iostream>
#include <map>
#include <optional>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr std::uint64_t kMiB = 1 << 20;
constexpr std::uint64_t kHandOffMiB = 512;
constexpr std::uint64_t kMemoryMiB[] = {64, 1024};
constexpr int kStartUpPairs = 10;
constexpr int kCurlRuns = 3;
const char* const kInstallerExe = "KestrixOfficeInstaller.exe";
const char* const kSetupExe = "KestrixOfficeSetup.exe";
const char* const kMinimalExe = "kestrix-minimal-dialog.exe";

double MsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The dialog window of the program of that file name.
testsupport::WindowQuery DialogOf(const char* exe) {
    testsupport::WindowQuery query;
    query.exe = exe;
    query.className = "#32770";
    return query;
}

void Emit(const Json::Value& record) {
    Json::StreamWriterBuilder builder;
    builder["indentation"] = "";
    std::cout << Json::writeString(builder, record) << std::endl;
}

// Where a program put the setup and when it got there.
struct HandOff {
    double downloadedMs = -1; // the file had its full size
    double startedMs = -1;    // the setup program's first act (its marker file)
    testsupport::ProcessUsage usage;
    // The window's answers from the moment it showed, when they were measured.
    std::optional<testsupport::Responsiveness> responses;
};

class ProgramBench {
public:
    ProgramBench(const fs::path& output, int pairs)
        : m_output(output), m_pairs(pairs), m_roaming(m_wine.roamingFolder()) {
        fs::create_directories(m_output / "packages");
    }

    void Run();

private:
    void MeasureStartUp();
    void PreparePackages();
    HandOff RunToHandOff(const std::string& exe, const std::vector<std::string>& args,
                         const fs::path& file, std::uint64_t size, bool measureResponses);
    void CloseSetup();
    void ServePackage(std::uint64_t mib);
    Json::Value HandOffRecord(const char* program, std::uint64_t mib, const HandOff& run);
    void MeasureCurl();

    fs::path m_output;
    int m_pairs;
    testsupport::WineEnvironment m_wine = testsupport::WineEnvironment::fromProcessEnvironment();
    fs::path m_roaming;
    testsupport::StandinOptions m_standinOptions = [this] {
        testsupport::StandinOptions options;
        options.stateDir = (m_output / "certs").string();
        return options;
    }();
    testsupport::StandinProcess m_standin{m_standinOptions};
    testsupport::StandinClient m_services = m_standin.client();
    testsupport::UiDriver m_driver{m_wine, testsupport::requiredVariable("KESTRIX_UIDRIVER_EXE")};
    std::map<std::uint64_t, testsupport::StandinPackage> m_packages;
};

void ProgramBench::Run() {
    // The stand-in answers on the other core, as a server would elsewhere.
    cpu_set_t first;
    CPU_ZERO(&first);
    CPU_SET(0, &first);
    ::sched_setaffinity(m_standin.pid(), sizeof first, &first);
    const std::string trust = testsupport::requiredVariable("KESTRIX_WINE_ENV") + " trust-ca '" +
                              m_standin.caDerPath() + "' >/dev/null";
    if (std::system(trust.c_str()) != 0)
        throw std::runtime_error("could not trust the test CA in the Wine prefix");

    MeasureStartUp();
    m_services.reset();
    PreparePackages();

    const fs::path installerFile = m_roaming / "KestrixOffice/Setup" / kSetupExe;
    const fs::path bareFile = m_roaming / "KestrixBareHandOff" / kSetupExe;
    fs::create_directories(bareFile.parent_path());
    const std::string bareWindowsPath =
        testsupport::WineEnvironment::windowsRoamingFolder() + "\\KestrixBareHandOff\\" + kSetupExe;
    const auto installer = [&](std::uint64_t mib, bool responses) {
        ServePackage(mib);
        return RunToHandOff(testsupport::requiredVariable("KESTRIX_INSTALLER_EXE"), {},
                            installerFile, m_packages.at(mib).size, responses);
    };
    const auto bare = [&](std::uint64_t mib, bool checkSignature) {
        ServePackage(mib);
        std::vector<std::string> arguments{m_packages.at(mib).url, bareWindowsPath};
        if (checkSignature)
            arguments.push_back("--check-signature");
        return RunToHandOff(testsupport::requiredVariable("KESTRIX_BARE_HANDOFF_EXE"), arguments,
                            bareFile, m_packages.at(mib).size, false);
    };

    std::cerr << "program-bench: launch to hand-off, " << m_pairs << " rounds of " << kHandOffMiB
              << " MiB after a warm-up round\n";
    installer(64, false);
    bare(64, false);
    bare(64, true);
    for (int round = 0; round < m_pairs; ++round) {
        // The order turns from round to round, so that what one run leaves
        // behind falls on each.
        for (int turn = 0; turn < 3; ++turn) {
            switch ((round + turn) % 3) {
            case 0:
                Emit(HandOffRecord("installer", kHandOffMiB, installer(kHandOffMiB, false)));
                break;
            case 1:
                Emit(HandOffRecord("bare", kHandOffMiB, bare(kHandOffMiB, false)));
                break;
            default:
                Emit(HandOffRecord("bare-checked", kHandOffMiB, bare(kHandOffMiB, true)));
                break;
            }
        }
    }
    std::cerr << "program-bench: the window's answers during a " << kHandOffMiB
              << " MiB download\n";
    const HandOff watched = installer(kHandOffMiB, true);
    Json::Value responses;
    responses["kind"] = "responses";
    responses["sizeMiB"] = Json::UInt64(kHandOffMiB);
    responses["downloadedMs"] = watched.downloadedMs;
    for (double us : watched.responses->roundTripsUs)
        responses["roundTripsUs"].append(us);
    responses["unanswered"] = watched.responses->unanswered;
    responses["endedBy"] = watched.responses->endedBy;
    Emit(responses);
    std::cerr << "program-bench: peak memory with each package size\n";
    for (std::uint64_t mib : kMemoryMiB) {
        Json::Value record = HandOffRecord("installer", mib, installer(mib, false));
        record["kind"] = "memory";
        Emit(record);
    }
    MeasureCurl();
}

// Process start to the first window visible: the installer's connecting view
// (the update server then holds its answer) against the minimal dialog.
void ProgramBench::MeasureStartUp() {
    std::cerr << "program-bench: start-up, " << kStartUpPairs << " pairs after a warm-up pair\n";
    testsupport::StandinAnswer held;
    held.delayMs = 120000;
    m_services.script(testsupport::kStandinUpdate, {held});
    const auto timeToWindow = [&](const std::string& exe, const char* name,
                                  bool isInstaller) -> Json::Value {
        const auto start = Clock::now();
        testsupport::WineProcess process(m_wine, exe);
        const auto window = m_driver.waitForWindow(DialogOf(name), 60s);
        const double ms = MsSince(start);
        if (!window)
            throw std::runtime_error(std::string(name) + " showed no window");
        Json::Value record;
        record["kind"] = "startup";
        record["program"] = isInstaller ? "installer" : "minimal";
        record["ms"] = ms;
        if (isInstaller) {
            process.kill();
        } else {
            m_driver.closeWindow(*window);
            if (!process.waitForExit(30s))
                throw std::runtime_error("the minimal dialog did not end when closed");
            record["peakKiB"] = Json::Int64(process.usage()->peakResidentKiB);
            record["cpuS"] = process.usage()->cpuSeconds;
        }
        m_driver.waitForWindowGone(*window, 30s);
        return record;
    };
    const std::string installer = testsupport::requiredVariable("KESTRIX_INSTALLER_EXE");
    const std::string minimal = testsupport::requiredVariable("KESTRIX_MINIMAL_DIALOG_EXE");
    for (int pair = -1; pair < kStartUpPairs; ++pair) {
        for (int turn = 0; turn < 2; ++turn) {
            const bool ofInstaller = (turn == 0) == (pair % 2 == 0);
            const Json::Value record = ofInstaller ? timeToWindow(installer, kInstallerExe, true)
                                                   : timeToWindow(minimal, kMinimalExe, false);
            if (pair >= 0)
                Emit(record);
        }
    }
}

void ProgramBench::PreparePackages() {
    std::cerr << "program-bench: signed packages of 64, " << kHandOffMiB << " and 1024 MiB\n";
    for (std::uint64_t mib : {std::uint64_t{64}, kHandOffMiB, std::uint64_t{1024}}) {
        const std::string name = "KestrixOfficeSetup-" + std::to_string(mib) + "MiB.exe";
        const fs::path package = m_output / "packages" / name;
        if (!fs::exists(package) || fs::file_size(package) < mib * kMiB)
            testsupport::MakePaddedSetup(testsupport::requiredVariable("KESTRIX_STANDIN_SETUP_EXE"),
                                         mib * kMiB, m_standinOptions.stateDir,
                                         testsupport::Signer::Vendor(), package);
        m_packages[mib] = m_services.registerPackageFile(name, package.string());
    }
}

// Every request to the package host gets this package, at full speed.
void ProgramBench::ServePackage(std::uint64_t mib) {
    testsupport::StandinAnswer answer;
    answer.package = m_packages.at(mib).name;
    m_services.script(testsupport::kStandinPackage, {answer});
}

HandOff ProgramBench::RunToHandOff(const std::string& exe, const std::vector<std::string>& args,
                                   const fs::path& file, std::uint64_t size,
                                   bool measureResponses) {
    const fs::path marker = file.string() + ".started";
    fs::remove(file);
    fs::remove(marker);
    testsupport::WineProcessOptions options;
    options.args = args;
    options.logPath = (m_output / "program.log").string();
    HandOff run;
    const auto start = Clock::now();
    testsupport::WineProcess process(m_wine, exe, options);
    if (measureResponses) {
        const auto window = m_driver.waitForWindow(DialogOf(kInstallerExe), 60s);
        if (!window)
            throw std::runtime_error("the installer showed no window");
        run.responses = m_driver.measureResponses(*window, 10ms, 600s);
    }
    std::optional<Clock::time_point> endedAt;
    while (run.startedMs < 0) {
        std::error_code ignored;
        if (run.downloadedMs < 0 && fs::file_size(file, ignored) == size)
            run.downloadedMs = MsSince(start);
        if (fs::exists(marker, ignored))
            run.startedMs = MsSince(start);
        // The setup program starts after the one that opened it may have ended.
        if (!endedAt && !process.running())
            endedAt = Clock::now();
        if ((endedAt && Clock::now() - *endedAt > 30s) || Clock::now() - start > 600s)
            throw std::runtime_error(exe + " did not start the setup program; its output:\n" +
                                     process.log());
        std::this_thread::sleep_for(1ms);
    }
    if (!process.waitForExit(120s))
        throw std::runtime_error(exe + " did not end after the hand-off");
    run.usage = *process.usage();
    CloseSetup();
    return run;
}

void ProgramBench::CloseSetup() {
    testsupport::WindowQuery query;
    query.exe = kSetupExe;
    if (const auto window = m_driver.waitForWindow(query, 30s)) {
        m_driver.closeWindow(*window);
        m_driver.waitForWindowGone(*window, 30s);
    }
}

Json::Value ProgramBench::HandOffRecord(const char* program, std::uint64_t mib,
                                        const HandOff& run) {
    Json::Value record;
    record["kind"] = "handoff";
    record["program"] = program;
    record["sizeMiB"] = Json::UInt64(mib);
    record["ms"] = run.startedMs;
    record["downloadedMs"] = run.downloadedMs;
    record["cpuS"] = run.usage.cpuSeconds;
    record["peakKiB"] = Json::Int64(run.usage.peakResidentKiB);
    return record;
}

// curl natively on the same URL, for scale.
void ProgramBench::MeasureCurl() {
    const fs::path file = m_output / "curl-download.bin";
    for (int run = 0; run < kCurlRuns; ++run) {
        testsupport::SpawnRequest request;
        request.argv = {"curl", "-sf", "-o", file.string(), m_packages.at(kHandOffMiB).url};
        request.logPath = (m_output / "curl.log").string();
        const auto start = Clock::now();
        const pid_t pid = testsupport::spawnWithLog(request);
        int status = 0;
        while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
        }
        const double ms = MsSince(start);
        fs::remove(file);
        if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
            throw std::runtime_error("curl failed; see " + request.logPath);
        Json::Value record;
        record["kind"] = "curl";
        record["sizeMiB"] = Json::UInt64(kHandOffMiB);
        record["ms"] = ms;
        Emit(record);
    }
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::cerr << "usage: kestrix-program-bench <output folder> [<pairs>]\n";
        return 2;
    }
    try {
        const int pairs = argc == 3 ? std::stoi(argv[2]) : 5;
        if (pairs < 1 || pairs > 50)
            throw std::invalid_argument("pairs must be 1 to 50");
        ProgramBench(argv[1], pairs).Run();
    } catch (const std::exception& error) {
        std::cerr << "program-bench: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
