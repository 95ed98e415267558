#include "platform/TestHooks.h"

#include "platform/Thread.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

bool TestHookEnabled(const char* name) {
    const char* value = std::getenv(name);
    return value && std::strcmp(value, "1") == 0;
}

std::optional<char> TestHookFileAnswer(const char* name) {
    const char* path = std::getenv(name);
    if (!path || !*path)
        return std::nullopt;
    std::FILE* file = std::fopen(path, "rb");
    if (!file)
        return std::nullopt;
    const int first = std::fgetc(file);
    std::fclose(file);
    if (first == EOF)
        return std::nullopt;
    return static_cast<char>(first);
}

void TestHookDelay(const char* name) {
    const char* value = std::getenv(name);
    if (value && *value)
        SleepMilliseconds(static_cast<unsigned>(std::strtoul(value, nullptr, 10)));
}

} // namespace platform
