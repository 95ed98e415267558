#pragma once

// Seams that tests need and Wine cannot give. Compiled only into builds made
// with KESTRIX_TEST_HOOKS; a release build contains none of them.
#if !KESTRIX_TEST_HOOKS
#error "test hooks are for test builds only"
#endif

namespace platform {

// True when the environment variable is set to "1".
bool TestHookEnabled(const char* name);

} // namespace platform
