#pragma once
#include <cstdint>
#include <string>
#include <vector>

// What one benchmark process measures: one package, downloaded alternately
// by the product's job manager and by a bare WinINet loop.
struct BenchOptions {
    std::wstring url;
    uint64_t size = 0;
    std::string sha256; // lower-case hex; empty: only the size is checked
    int rounds = 3;
    int warmupRounds = 1; // run but not counted: first-use costs land here
    std::wstring folder;  // empty: a fresh folder under the temporary folder
};

// Parses "[--rounds N] [--warmup N] [--folder DIR] URL SIZE [SHA256]".
// Throws std::invalid_argument with a message for the user on bad input.
BenchOptions ParseBenchOptions(const std::vector<std::wstring>& arguments);

const char* BenchUsage();
