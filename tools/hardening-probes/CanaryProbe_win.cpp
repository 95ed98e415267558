// The installer's stack canary and its failure handler (StackProtector_win.cpp,
// linked in as into the installer), for their unit test:
//   kestrix-canary-probe print   prints the canary this process got
//   kestrix-canary-probe fail    fails the canary check as an overflow would, with
//                                an unhandled-exception filter and a debug-output
//                                reader that must not run: the exit code says how
//                                the process ended, and a "ran" line says what ran
#include <windows.h>

#include <cstdio>
#include <cwchar>

extern "C" void* __stack_chk_guard;
extern "C" [[noreturn]] void __stack_chk_fail();

namespace {

LONG WINAPI SayAndEnd(EXCEPTION_POINTERS*) {
    std::puts("ran: the unhandled-exception filter");
    std::fflush(stdout);
    ::ExitProcess(1);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc == 2 && std::wcscmp(argv[1], L"print") == 0) {
        std::printf("%p\n", __stack_chk_guard);
        return 0;
    }
    if (argc == 2 && std::wcscmp(argv[1], L"fail") == 0) {
        ::SetUnhandledExceptionFilter(&SayAndEnd);
        __stack_chk_fail();
    }
    return 2;
}
