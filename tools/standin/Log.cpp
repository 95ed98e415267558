#include "tools/standin/Log.h"

#include <cstdio>
#include <mutex>

namespace standin {

void logLine(const std::string& text) {
    static std::mutex mutex;
    std::lock_guard<std::mutex> lock(mutex);
    std::fprintf(stderr, "kestrix-standin: %s\n", text.c_str());
    std::fflush(stderr);
}

} // namespace standin
