#pragma once
#include <chrono>
#include <cstdint>
#include <functional>
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

// What the starting thread does while its download runs on a thread of its
// own: the action, about once a period until the download ends.
struct WhileWaiting {
    std::chrono::milliseconds period;
    std::function<void()> action;
};
