#include "bench/BenchReport.h"

#include <gtest/gtest.h>

#include <map>
#include <sstream>

namespace {

// The key=value fields of the summary's RESULT line.
std::map<std::string, std::string> ResultFields(const std::string& summary) {
    std::map<std::string, std::string> fields;
    std::istringstream lines(summary);
    std::string line;
    while (std::getline(lines, line)) {
        if (line.rfind("RESULT ", 0) != 0)
            continue;
        std::istringstream words(line.substr(7));
        std::string word;
        while (words >> word) {
            const size_t equals = word.find('=');
            if (equals != std::string::npos)
                fields[word.substr(0, equals)] = word.substr(equals + 1);
        }
    }
    return fields;
}

BenchFigures Figures(uint64_t size) {
    BenchFigures figures;
    figures.size = size;
    figures.rounds = 3;
    figures.wall = Compare({1.2, 1.0, 1.1}, {1.0, 1.0, 1.0});
    figures.cpu = Compare({0.5}, {0.25});
    figures.productPeakMiB = 23.6;
    figures.barePeakMiB = 22.7;
    figures.processPeakMiB = 23.9;
    figures.loopExtrasNs = 3e6;
    return figures;
}

} // namespace

// run-download-bench.sh builds its tables from these keys alone; a missing
// one would print as a zero there.
TEST(BenchReport, TheResultLineCarriesEveryFigureTheScriptReads) {
    const auto fields = ResultFields(FormatSummary(Figures(8192)));
    for (const char* prefix : {"", "cpu_", "open_", "transfer_", "close_"}) {
        for (const char* kind : {"product_", "bare_", "pair_"}) {
            for (const char* statistic : {"median", "min", "max"})
                EXPECT_EQ(fields.count(std::string(prefix) + kind + statistic), 1u)
                    << prefix << kind << statistic;
        }
        EXPECT_EQ(fields.count(std::string(prefix) + "ratio"), 1u) << prefix;
        EXPECT_EQ(fields.count(std::string(prefix) + "fastest"), 1u) << prefix;
    }
    EXPECT_EQ(fields.at("size"), "8192");
    EXPECT_EQ(fields.at("rounds"), "3");
    EXPECT_EQ(fields.at("product_median"), "1.1000");
    EXPECT_EQ(fields.at("ratio"), "1.1000");
    EXPECT_EQ(fields.at("fastest"), "1.0000");
    EXPECT_EQ(fields.at("pair_max"), "1.2000");
    EXPECT_EQ(fields.at("cpu_ratio"), "2.0000");
    EXPECT_EQ(fields.at("ws_product"), "23.6");
    EXPECT_EQ(fields.at("ws_bare"), "22.7");
    EXPECT_EQ(fields.at("ws_process"), "23.9");
    EXPECT_EQ(fields.at("extras_ns"), "3000000");
}

// A download of N bytes makes ceil(N / 4096) reads plus the empty one that
// ends it; the extras' share is of one such read of the bare loop.
TEST(BenchReport, TheExtrasShareIsOfOneBareReadCountingTheLastEmptyRead) {
    EXPECT_EQ(ResultFields(FormatSummary(Figures(4096))).at("extras_pct"), "0.60");
    EXPECT_EQ(ResultFields(FormatSummary(Figures(4097))).at("extras_pct"), "0.90");
    EXPECT_EQ(ResultFields(FormatSummary(Figures(8192))).at("extras_pct"), "0.90");
}

TEST(BenchReport, NoBareRunsGiveZerosRatherThanADivisionByZero) {
    BenchFigures figures;
    figures.size = 4096;
    const auto fields = ResultFields(FormatSummary(figures));
    EXPECT_EQ(fields.at("ratio"), "0.0000");
    EXPECT_EQ(fields.at("extras_pct"), "0.00");
}
