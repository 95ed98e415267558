#pragma once

// Seams that tests need and Wine cannot give. Compiled only into builds made
// with KESTRIX_TEST_HOOKS; a release build contains none of them.
#if !KESTRIX_TEST_HOOKS
#error "test hooks are for test builds only"
#endif

#include <optional>

namespace platform {

// True when the environment variable is set to "1".
bool TestHookEnabled(const char* name);

// Sleeps as many milliseconds as the environment variable says (none when
// unset), so that a test can act at that moment.
void TestHookDelay(const char* name);

// The first byte of the file that the environment variable names, read
// afresh on every call; nothing when the variable is unset or the file
// cannot be read. Lets a test change an answer while the program runs.
std::optional<char> TestHookFileAnswer(const char* name);

} // namespace platform
