#include "bench/BenchReport.h"

#include <cstdarg>
#include <cstdio>

namespace {

void Append(std::string& out, const char* format, ...) {
    char line[512];
    va_list arguments;
    va_start(arguments, format);
    std::vsnprintf(line, sizeof(line), format, arguments);
    va_end(arguments);
    out += line;
}

void AppendTimes(std::string& out, const char* what, const char* name, const Summary& summary) {
    Append(out, "%-4s %-8s median %.3f s, min %.3f, max %.3f (spread %.1f %% of the median)\n",
           what, name, summary.median, summary.min, summary.max, RelativeSpread(summary) * 100);
}

void AppendComparison(std::string& out, const char* what, const Comparison& comparison) {
    AppendTimes(out, what, "product", comparison.product);
    AppendTimes(out, what, "bare", comparison.bare);
    Append(out,
           "%-4s product/bare: ratio of medians %.3f, of the fastest runs %.3f; within a round: "
           "median %.3f, %.3f to %.3f\n",
           what, comparison.ratio, comparison.fastestRatio, comparison.pairs.median,
           comparison.pairs.min, comparison.pairs.max);
}

void AppendResultFields(std::string& out, const char* prefix, const Comparison& c) {
    const struct {
        const char* key;
        double value;
    } fields[] = {
        {"product_median", c.product.median},
        {"product_min", c.product.min},
        {"product_max", c.product.max},
        {"bare_median", c.bare.median},
        {"bare_min", c.bare.min},
        {"bare_max", c.bare.max},
        {"ratio", c.ratio},
        {"fastest", c.fastestRatio},
        {"pair_median", c.pairs.median},
        {"pair_min", c.pairs.min},
        {"pair_max", c.pairs.max},
    };
    for (const auto& field : fields)
        Append(out, " %s%s=%.4f", prefix, field.key, field.value);
}

// Reads of one download: whole chunks, a partial one, and the empty read
// that ends the loop.
uint64_t ReadsPerDownload(uint64_t size) {
    return (size + 4095) / 4096 + 1;
}

} // namespace

std::string FormatSummary(const BenchFigures& figures) {
    std::string out;
    AppendComparison(out, "wall", figures.wall);
    AppendComparison(out, "cpu", figures.cpu);
    Append(out,
           "phases, median product / bare: open %.1f / %.1f ms, transfer %.3f / %.3f s (ratio "
           "%.3f), close %.1f / %.1f ms\n",
           figures.open.product.median * 1000, figures.open.bare.median * 1000,
           figures.transfer.product.median, figures.transfer.bare.median, figures.transfer.ratio,
           figures.close.product.median * 1000, figures.close.bare.median * 1000);
    const double bareReadNs =
        figures.wall.bare.median * 1e9 / static_cast<double>(ReadsPerDownload(figures.size));
    const double extrasPercent = bareReadNs > 0 ? figures.loopExtrasNs * 100 / bareReadNs : 0;
    Append(out,
           "product loop extras: %.0f ns per read, %.2f %% of a bare loop read (%.1f us, median)\n",
           figures.loopExtrasNs, extrasPercent, bareReadNs / 1000);
    Append(out, "peak working set: product runs %.1f MiB, bare runs %.1f MiB, process %.1f MiB\n",
           figures.productPeakMiB, figures.barePeakMiB, figures.processPeakMiB);
    Append(out, "RESULT size=%llu rounds=%d", static_cast<unsigned long long>(figures.size),
           figures.rounds);
    AppendResultFields(out, "", figures.wall);
    AppendResultFields(out, "cpu_", figures.cpu);
    AppendResultFields(out, "open_", figures.open);
    AppendResultFields(out, "transfer_", figures.transfer);
    AppendResultFields(out, "close_", figures.close);
    Append(out, " extras_ns=%.0f extras_pct=%.2f ws_product=%.1f ws_bare=%.1f ws_process=%.1f\n",
           figures.loopExtrasNs, extrasPercent, figures.productPeakMiB, figures.barePeakMiB,
           figures.processPeakMiB);
    return out;
}
