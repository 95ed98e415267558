#include "platform/Thread.h"

#include <chrono>
#include <system_error>
#include <thread>

namespace platform {

bool StartDetachedThread(ThreadEntry entry, void* pParam) {
    try {
        std::thread(entry, pParam).detach();
        return true;
    } catch (const std::system_error&) {
        return false;
    }
}

void SleepMilliseconds(unsigned milliseconds) {
    std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
}

void SleepServingSentMessages(unsigned milliseconds) {
    SleepMilliseconds(milliseconds);
}

} // namespace platform
