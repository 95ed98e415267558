#include "platform/MillisecondTimer.h"

#include <windows.h>

#include <mmsystem.h>

namespace platform {

uint32_t MillisecondTimer() {
    return timeGetTime();
}

} // namespace platform
