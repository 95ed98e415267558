#include "tools/standin/Lifeline.h"

namespace standin {

Lifeline::Epoch Lifeline::epoch() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return epoch_;
}

void Lifeline::reset() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        ++epoch_;
    }
    changed_.notify_all();
}

void Lifeline::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    changed_.notify_all();
}

bool Lifeline::alive(Epoch epoch) const {
    std::lock_guard<std::mutex> lock(mutex_);
    return !stopped_ && epoch_ == epoch;
}

bool Lifeline::sleepFor(std::chrono::milliseconds duration, Epoch epoch) const {
    std::unique_lock<std::mutex> lock(mutex_);
    return !changed_.wait_for(lock, duration, [&] { return stopped_ || epoch_ != epoch; });
}

} // namespace standin
