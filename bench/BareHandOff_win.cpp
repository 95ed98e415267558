// The least a program that downloads the setup and opens it does, for the
// whole-program benchmark to set the installer against:
//   kestrix-bare-handoff.exe <url> <file> [--check-signature]
// The bare WinINet loop into the file, then the file opened through the shell
// from its own folder. With --check-signature, the file is first held open
// and its signature checked as the installer checks it (the same calls, the
// same judgement), and a file that fails is not opened. Exit code 0 once the
// shell was asked, 1 on a failure.
#include "bench/BareDownload_win.h"
#include "net/ServiceEndpoints.h"
#include "platform/SignatureCheck_win.h"
#include "platform/UniqueHandle_win.h"

#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <cwchar>

namespace {

bool SignedByTheVendor(const std::wstring& file) {
    const platform::UniqueFileHandle held(::CreateFileW(file.c_str(), GENERIC_READ, FILE_SHARE_READ,
                                                        nullptr, OPEN_EXISTING,
                                                        FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!held)
        return false;
    return platform::JudgeSignature(platform::ReadSignature(held.Get(), file.c_str()),
                                    ExpectedSetupSigner()) == platform::SignatureVerdict::Trusted;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    const bool checkSignature = argc == 4 && std::wcscmp(argv[3], L"--check-signature") == 0;
    if (argc != 3 && !checkSignature) {
        std::fputs("usage: kestrix-bare-handoff.exe <url> <file> [--check-signature]\n", stderr);
        return 2;
    }
    const std::wstring file = argv[2];
    const DownloadOutcome outcome =
        RunBareDownload(argv[1], file, WhileWaiting{std::chrono::milliseconds(100), [] {}});
    if (!outcome.completed) {
        std::fprintf(stderr, "kestrix-bare-handoff: %s\n", outcome.failure.c_str());
        return 1;
    }
    if (checkSignature && !SignedByTheVendor(file)) {
        std::fputs("kestrix-bare-handoff: the signature check failed\n", stderr);
        return 1;
    }
    const std::wstring folder = file.substr(0, file.find_last_of(L'\\'));
    const auto opened = reinterpret_cast<INT_PTR>(
        ::ShellExecuteW(nullptr, L"open", file.c_str(), nullptr, folder.c_str(), SW_SHOW));
    return opened > 32 ? 0 : 1;
}
