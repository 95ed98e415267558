#include "tests/unit/platform/HardeningProbe_win.h"

#include "platform/UniqueHandle_win.h"

std::wstring HardeningProbeFolder() {
    wchar_t path[MAX_PATH] = {};
    const DWORD length = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path, length);
    for (int up = 0; up < 3; ++up) // tests\unit\kestrix_unit_tests.exe
        folder = folder.substr(0, folder.find_last_of(L"\\/"));
    return folder + L"\\tools\\hardening-probes";
}

ProbeRun RunHardeningProbe(const std::wstring& exeName, const std::wstring& arguments) {
    const std::wstring folder = HardeningProbeFolder();
    wchar_t outputPath[MAX_PATH] = {};
    ::GetTempFileNameW(folder.c_str(), L"out", 0, outputPath);
    SECURITY_ATTRIBUTES inherited = {sizeof(inherited), nullptr, TRUE};
    platform::UniqueFileHandle output(
        ::CreateFileW(outputPath, GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                      &inherited, CREATE_ALWAYS, FILE_ATTRIBUTE_TEMPORARY, nullptr));
    ProbeRun run;
    std::wstring command = L"\"" + folder + L"\\" + exeName + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = output.Get();
    startup.hStdError = output.Get();
    PROCESS_INFORMATION process = {};
    run.started = output && ::CreateProcessW(nullptr, &command[0], nullptr, nullptr, TRUE, 0,
                                             nullptr, folder.c_str(), &startup, &process);
    if (run.started) {
        ::WaitForSingleObject(process.hProcess, 60000);
        ::GetExitCodeProcess(process.hProcess, &run.exitCode);
        ::CloseHandle(process.hThread);
        ::CloseHandle(process.hProcess);
        char buffer[4096];
        DWORD read = 0;
        ::SetFilePointer(output.Get(), 0, nullptr, FILE_BEGIN);
        while (::ReadFile(output.Get(), buffer, sizeof buffer, &read, nullptr) && read > 0)
            run.output.append(buffer, read);
    }
    output.Reset();
    ::DeleteFileW(outputPath);
    return run;
}
