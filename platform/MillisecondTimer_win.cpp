#include "platform/MillisecondTimer.h"

#include <mmsystem.h>
#include <windows.h>

namespace platform {

uint32_t MillisecondTimer() {
    return timeGetTime();
}

} // namespace platform
