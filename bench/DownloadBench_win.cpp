// Measures the product's setup download against a bare WinINet loop in one
// process, alternating the two so that the load of other processes on the
// machine falls on both alike. Measures only: nothing here judges a time.
#include "bench/BareDownload_win.h"
#include "bench/BenchOptions.h"
#include "bench/BenchReport.h"
#include "bench/FileCheck_win.h"
#include "bench/LoopExtras.h"
#include "bench/ProductDownload_win.h"
#include "bench/WorkingSet_win.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>
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

enum class Kind { Product, Bare };

const char* KindName(Kind kind) {
    return kind == Kind::Product ? "product" : "bare";
}

struct Measurements {
    std::vector<double> seconds;
    std::vector<double> cpuSeconds;
    std::vector<double> open;
    std::vector<double> transfer;
    std::vector<double> close;
    uint64_t runPeak = 0; // largest working set sampled during a counted run
};

// The folder the downloads go to: the one asked for, or a fresh one under the
// temporary folder that is removed again at the end.
class DownloadFolder {
public:
    explicit DownloadFolder(const std::wstring& asked) : m_path(asked) {
        if (!m_path.empty())
            return;
        WCHAR temp[MAX_PATH] = {};
        ::GetTempPathW(MAX_PATH, temp);
        m_path = std::wstring(temp) + L"kestrix-bench-" + std::to_wstring(::GetCurrentProcessId());
        m_owned = ::CreateDirectoryW(m_path.c_str(), nullptr) != FALSE;
        if (!m_owned)
            throw std::runtime_error("cannot create a folder under the temporary folder");
    }
    ~DownloadFolder() {
        if (m_owned)
            ::RemoveDirectoryW(m_path.c_str());
    }
    DownloadFolder(const DownloadFolder&) = delete;
    DownloadFolder& operator=(const DownloadFolder&) = delete;

    std::wstring File() const { return m_path + L"\\KestrixOfficeSetup.exe"; }

private:
    std::wstring m_path;
    bool m_owned = false;
};

class Bench {
public:
    explicit Bench(const BenchOptions& options)
        : m_options(options), m_folder(options.folder),
          m_loopExtrasNs(MeasureLoopExtrasNanoseconds(kExtrasReads, kExtrasPasses)) {}

    // Runs every round; false as soon as a download fails or gives a wrong file.
    bool RunAll() {
        std::printf("%-8s %-8s %8s %7s %7s %8s %8s %7s %9s %13s %9s  %s\n", "round", "download",
                    "wall s", "MiB/s", "cpu s", "open ms", "close ms", "start", "run peak",
                    "process peak", "progress", "check");
        // The order alternates from round to round, so that whatever one run
        // leaves behind for the next (the file system's work on the file just
        // deleted, a warm cache) falls on both downloads alike.
        for (int round = -m_options.warmupRounds; round < m_options.rounds; ++round) {
            const bool productFirst = (round + m_options.warmupRounds) % 2 == 0;
            for (Kind kind : {productFirst ? Kind::Product : Kind::Bare,
                              productFirst ? Kind::Bare : Kind::Product}) {
                if (!RunOnce(round, kind))
                    return false;
            }
        }
        return true;
    }

    BenchFigures Figures() const {
        BenchFigures figures;
        figures.size = m_options.size;
        figures.rounds = m_options.rounds;
        figures.wall = Compare(m_product.seconds, m_bare.seconds);
        figures.cpu = Compare(m_product.cpuSeconds, m_bare.cpuSeconds);
        figures.open = Compare(m_product.open, m_bare.open);
        figures.transfer = Compare(m_product.transfer, m_bare.transfer);
        figures.close = Compare(m_product.close, m_bare.close);
        figures.productPeakMiB = MiB(m_product.runPeak);
        figures.barePeakMiB = MiB(m_bare.runPeak);
        figures.processPeakMiB = MiB(ReadMemory().peakWorkingSet);
        figures.loopExtrasNs = m_loopExtrasNs;
        return figures;
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
        if (round >= 0) {
            Measurements& into = kind == Kind::Product ? m_product : m_bare;
            into.seconds.push_back(outcome.seconds);
            into.cpuSeconds.push_back(outcome.cpuSeconds);
            into.open.push_back(outcome.firstReadSeconds);
            into.transfer.push_back(outcome.lastReadSeconds - outcome.firstReadSeconds);
            into.close.push_back(outcome.seconds - outcome.lastReadSeconds);
            into.runPeak = std::max(into.runPeak, runPeak);
        }
        return true;
    }

    const BenchOptions m_options;
    DownloadFolder m_folder;
    ProductDownloader m_productDownloader;
    Measurements m_product;
    Measurements m_bare;
    const double m_loopExtrasNs;
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    BenchOptions options;
    try {
        options = ParseBenchOptions(std::vector<std::wstring>(argv + 1, argv + argc));
    } catch (const std::invalid_argument& error) {
        std::fprintf(stderr, "kestrix-download-bench: %s\n%s", error.what(), BenchUsage());
        return 2;
    }
    std::printf("package: %llu bytes, %d rounds after %d warm-up rounds, 4096-byte reads\n",
                static_cast<unsigned long long>(options.size), options.rounds,
                options.warmupRounds);
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
        std::fputs(FormatSummary(bench.Figures()).c_str(), stdout);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "kestrix-download-bench: %s\n", error.what());
        return 1;
    }
    return 0;
}
