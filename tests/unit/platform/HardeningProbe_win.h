#pragma once
#include <windows.h>

#include <string>

// Runs a program of tools/hardening-probes in the Windows tree this test
// program was built in, in that folder: its exit code and what it printed.
struct ProbeRun {
    bool started = false;
    DWORD exitCode = 0;
    std::string output;
};

std::wstring HardeningProbeFolder();
ProbeRun RunHardeningProbe(const std::wstring& exeName, const std::wstring& arguments = {});
