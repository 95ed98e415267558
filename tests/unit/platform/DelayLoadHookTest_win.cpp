#include "tests/unit/platform/HardeningProbe_win.h"

#include <gtest/gtest.h>

#include <delayimp.h>

namespace {

// A DLL the system folder does not have, beside a program that needs it:
// where Windows has no restricted search, the delay-load helper would load
// it by its bare name, from the program's folder first, unless the hook
// stops it. The probe runs only the hook, as such a Windows would.
TEST(DelayLoadHookTest, ADllTheSystemFolderLacksFailsTheCallAndIsNeverSearchedFor) {
    const std::wstring marker = HardeningProbeFolder() + L"\\kestrix-planted.dll.loaded";
    ::DeleteFileW(marker.c_str());
    const ProbeRun run = RunHardeningProbe(L"kestrix-delayload-probe.exe");
    ASSERT_TRUE(run.started) << ::GetLastError();
    EXPECT_EQ(run.exitCode,
              static_cast<DWORD>(VcppException(ERROR_SEVERITY_ERROR, ERROR_MOD_NOT_FOUND)))
        << "the call ended otherwise (0: the planted DLL ran)";
    EXPECT_EQ(::GetFileAttributesW(marker.c_str()), INVALID_FILE_ATTRIBUTES)
        << "the DLL beside the program was loaded";
}

} // namespace
