#pragma once
#include <cstdint>
#include <string>

// One timed download.
struct DownloadOutcome {
    bool completed = false;      // the downloader itself reported success
    std::string failure;         // why not, when not
    double seconds = 0;          // wall time from the start to the end of the download
    double cpuSeconds = 0;       // the process's CPU time meanwhile
    double firstReadSeconds = 0; // from the start until the first read returned
    double lastReadSeconds = 0;  // from the start until the last read returned
    uint64_t progressReports = 0;
};
