#include "tools/standin/StandinState.h"

#include <chrono>

namespace standin {

std::int64_t nowMs() {
    return std::chrono::duration_cast<std::chrono::milliseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

void StandinState::setServerTime(std::optional<std::int64_t> ms) {
    std::lock_guard<std::mutex> lock(timeMutex_);
    fixedServerTime_ = ms;
}

std::int64_t StandinState::serverTimeMs() const {
    std::lock_guard<std::mutex> lock(timeMutex_);
    return fixedServerTime_ ? *fixedServerTime_ : nowMs();
}

void StandinState::reset() {
    lifeline.reset();
    scripts.clear();
    requests.clear();
    packages.reset();
    certificates.reset();
    setServerTime(std::nullopt);
}

} // namespace standin
