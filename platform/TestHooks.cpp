#include "platform/TestHooks.h"

#include <cstdlib>
#include <cstring>

namespace platform {

bool TestHookEnabled(const char* name) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, "1") == 0;
}

} // namespace platform
