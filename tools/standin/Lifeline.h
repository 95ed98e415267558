#pragma once
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

namespace standin {

// Ends the waits of answers in flight: a reset ends those that began before
// it (a test's stalled download must not outlive the test), a stop ends all.
class Lifeline {
public:
    using Epoch = std::uint64_t;

    Epoch epoch() const;
    void reset();
    void stop();

    // True while neither a reset since `epoch` nor a stop happened.
    bool alive(Epoch epoch) const;

    // Sleeps for `duration`; false when cut short by a reset or a stop.
    bool sleepFor(std::chrono::milliseconds duration, Epoch epoch) const;

private:
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    Epoch epoch_ = 0;
    bool stopped_ = false;
};

} // namespace standin
