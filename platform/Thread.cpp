#include "platform/Thread.h"

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

} // namespace platform
