#pragma once
#include <chrono>
#include <thread>

// Polls a condition until it holds or a generous deadline passes; tests wait
// for states, never for fixed times.
template <class Pred>
bool WaitFor(Pred pred, std::chrono::milliseconds limit = std::chrono::seconds(30)) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    while (!pred()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}
