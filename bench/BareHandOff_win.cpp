// The least a program that downloads the setup and opens it does, for the
// whole-program benchmark to set the installer against:
//   kestrix-bare-handoff.exe <url> <file>
// The bare WinINet loop into the file, then the file opened through the shell
// from its own folder. Exit code 0 once the shell was asked, 1 on a failure.
#include "bench/BareDownload_win.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>

int wmain(int argc, wchar_t** argv) {
    if (argc != 3) {
        std::fputs("usage: kestrix-bare-handoff.exe <url> <file>\n", stderr);
        return 2;
    }
    const std::wstring file = argv[2];
    const DownloadOutcome outcome =
        RunBareDownload(argv[1], file, WhileWaiting{std::chrono::milliseconds(100), [] {}});
    if (!outcome.completed) {
        std::fprintf(stderr, "kestrix-bare-handoff: %s\n", outcome.failure.c_str());
        return 1;
    }
    const std::wstring folder = file.substr(0, file.find_last_of(L'\\'));
    const auto opened = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, folder.c_str(), SW_SHOW));
    return opened > 32 ? 0 : 1;
}
