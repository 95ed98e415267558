#pragma once
#include "bench/BenchStats.h"

#include <cstdint>
#include <string>

struct BenchFigures {
    uint64_t size = 0;
    int rounds = 0;
    Comparison wall;
    Comparison cpu;
    // The wall time split at the first and the last read.
    Comparison open;           // until the first read returned
    Comparison transfer;       // from the first to the last read
    Comparison close;          // from the last read to the end
    double productPeakMiB = 0; // largest working set sampled in a counted run
    double barePeakMiB = 0;
    double processPeakMiB = 0; // PeakWorkingSetSize at the end
    double loopExtrasNs = 0;   // per read, see LoopExtras.h
};

// The summary of one benchmark process: readable lines, then one
// "RESULT key=value ..." line that run-download-bench.sh turns into its tables.
std::string FormatSummary(const BenchFigures& figures);
