// Measures the product's setup download against a bare WinINet loop in one
// process, alternating the two so that the load of other processes on the
// machine falls on both alike:
//   kestrix-download-bench.exe <url> <size> <sha256> <rounds>
// Prints a table as it goes and, for bench/download-report.py, a "RUN" line
// per counted run and an "END" line. Measures only: nothing here judges a time.
#include "bench/BareDownload_win.h"
#include "bench/FileCheck_win.h"
#include "bench/LoopExtras.h"
#include "bench/ProductDownload_win.h"
#include "bench/WorkingSet_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <cwctype>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

const auto kRunLimit = std::chrono::seconds(600);
const auto kSamplePeriod = std::chrono::milliseconds(10);
const auto kSettle = std::chrono::milliseconds(200);
// Bytes in MiB, for the figures.
double MiB(uint64_t bytes) {
    return static_cast<double>(bytes) / (1024.0 * 1024.0);
}
// As many reads as a 512 MiB download makes.
const uint32_t kExtrasReads = 131072;
const int kExtrasPasses = 5;

const int kWarmupRounds = 1;
const int kMaxRounds = 99;

enum class Kind { Product, Bare };

const char* KindName(Kind kind) {
    return kind == Kind::Product ? "product" : "bare";
}

struct BenchOptions {
    std::wstring url;
    uint64_t size = 0;
    std::string sha256; // lower-case hex
    int rounds = 0;
};

// "<url> <size> <sha256> <rounds>"; throws std::invalid_argument.
BenchOptions ParseOptions(int argc, wchar_t** argv) {
    if (argc != 5)
        throw std::invalid_argument("expected <url> <size> <sha256> <rounds>");
    BenchOptions options;
    options.url = argv[1];
    wchar_t* end = nullptr;
    options.size = std::wcstoull(argv[2], &end, 10);
    if (options.size == 0 || *end)
        throw std::invalid_argument("<size>: a number of bytes, at least one");
    for (const wchar_t* c = argv[3]; *c; ++c)
        options.sha256.push_back(static_cast<char>(std::towlower(*c)));
    if (options.sha256.size() != 64 ||
        options.sha256.find_first_not_of("0123456789abcdef") != std::string::npos)
        throw std::invalid_argument("<sha256>: 64 hex digits");
    options.rounds = static_cast<int>(std::wcstol(argv[4], &end, 10));
    if (options.rounds < 1 || options.rounds > kMaxRounds || *end)
        throw std::invalid_argument("<rounds>: 1 to 99");
    return options;
}

// The folder the downloads go to: the one asked for, or a fresh one under the
// temporary folder that is removed again at the end.
class DownloadFolder {
public:
    DownloadFolder() {
        WCHAR temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"kestrix-bench-" + std::to_wstring(::GetCurrentProcessId());
        if (!::CreateDirectoryW(m_path.c_str(), nullptr))
            throw std::runtime_error("cannot create a folder under the temporary folder");
    }
    ~DownloadFolder() { ::RemoveDirectoryW(m_path.c_str()); }
    DownloadFolder(const DownloadFolder&) = delete;
    DownloadFolder& operator=(const DownloadFolder&) = delete;

    std::wstring File() const { return m_path + L"\\KestrixOfficeSetup.exe"; }

private:
    std::wstring m_path;
};

class Bench {
public:
    explicit Bench(const BenchOptions& options)
        : m_options(options),
          m_loopExtrasNs(MeasureLoopExtrasNanoseconds(kExtrasReads, kExtrasPasses)) {}

    // Runs every round; false as soon as a download fails or gives a wrong file.
    bool RunAll() {
        std::printf("%-8s %-8s %8s %7s %7s %8s %8s %7s %9s %13s %9s  %s\n", "round", "download",
                    "wall s", "MiB/s", "cpu s", "open ms", "close ms", "start", "run peak",
                    "process peak", "progress", "check");
        // The order alternates from round to round, so that whatever one run
        // leaves behind for the next (the file system's work on the file just
        // deleted, a warm cache) falls on both downloads alike.
        for (int round = -kWarmupRounds; round < m_options.rounds; ++round) {
            const bool productFirst = (round + kWarmupRounds) % 2 == 0;
            for (Kind kind : {productFirst ? Kind::Product : Kind::Bare,
                              productFirst ? Kind::Bare : Kind::Product}) {
                if (!RunOnce(round, kind))
                    return false;
            }
        }
        return true;
    }

    // The figures of the whole process, after the runs.
    void PrintEnd() const {
        std::printf("END size=%llu rounds=%d process_peak=%.1f extras_ns=%.0f\n",
                    static_cast<unsigned long long>(m_options.size), m_options.rounds,
                    MiB(ReadMemory().peakWorkingSet), m_loopExtrasNs);
    }

private:
    bool RunOnce(int round, Kind kind) {
        const std::wstring file = m_folder.File();
        ::DeleteFileW(file.c_str());
        TrimWorkingSet();
        std::this_thread::sleep_for(kSettle);

        const MemoryReading before = ReadMemory();
        RunPeak peak;
        peak.Start();
        const WhileWaiting sampling{kSamplePeriod, [&peak] { peak.Sample(); }};
        const DownloadOutcome outcome =
            kind == Kind::Product
                ? m_productDownloader.Run(m_options.url, file, kRunLimit, sampling)
                : RunBareDownload(m_options.url, file, sampling);
        peak.Sample();
        const uint64_t runPeak = peak.Bytes();
        const MemoryReading after = ReadMemory();

        std::string check = outcome.failure;
        if (check.empty())
            check = CheckDownloadedFile(file, m_options.size, m_options.sha256);
        ::DeleteFileW(file.c_str());

        const std::string roundName = round < 0 ? "warm-up" : std::to_string(round + 1);
        const double rate = outcome.seconds > 0 ? MiB(m_options.size) / outcome.seconds : 0;
        std::printf("%-8s %-8s %8.3f %7.1f %7.3f %8.1f %8.1f %7.1f %9.1f %13.1f %9llu  %s\n",
                    roundName.c_str(), KindName(kind), outcome.seconds, rate, outcome.cpuSeconds,
                    outcome.firstReadSeconds * 1000,
                    (outcome.seconds - outcome.lastReadSeconds) * 1000, MiB(before.workingSet),
                    MiB(runPeak), MiB(after.peakWorkingSet),
                    static_cast<unsigned long long>(outcome.progressReports),
                    check.empty() ? "ok" : check.c_str());
        std::fflush(stdout);
        if (!check.empty())
            return false;
        if (round >= 0)
            std::printf("RUN kind=%s round=%d wall=%.6f cpu=%.6f open=%.6f transfer=%.6f "
                        "close=%.6f peak=%.1f\n",
                        KindName(kind), round + 1, outcome.seconds, outcome.cpuSeconds,
                        outcome.firstReadSeconds,
                        outcome.lastReadSeconds - outcome.firstReadSeconds,
                        outcome.seconds - outcome.lastReadSeconds, MiB(runPeak));
        return true;
    }

    const BenchOptions m_options;
    DownloadFolder m_folder;
    ProductDownloader m_productDownloader;
    const double m_loopExtrasNs;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    BenchOptions options;
    try {
        options = ParseOptions(argc, argv);
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr,
                     "kestrix-download-bench: %s\nusage: kestrix-download-bench.exe <url> <size> "
                     "<sha256> <rounds>\n",
                     error.what());
        return 2;
    }
    std::printf("package: %llu bytes, %d rounds after %d warm-up round, 4096-byte reads\n",
                static_cast<unsigned long long>(options.size), options.rounds, kWarmupRounds);
    std::printf("working set at the start of the process: %.1f MiB\n",
                MiB(ReadMemory().workingSet));
    std::printf("cpu s: the process's CPU time during the run; open ms: until the first read "
                "returned; close ms: after the last read returned; working sets in MiB: start = "
                "before the run, run peak = largest sampled every %d ms during it, process peak "
                "= PeakWorkingSetSize after it\n",
                static_cast<int>(kSamplePeriod.count()));
    try {
        Bench bench(options);
        if (!bench.RunAll()) {
            std::printf("FAILED: a download did not give the package; no figures\n");
            return 1;
        }
        bench.PrintEnd();
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrix-download-bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
