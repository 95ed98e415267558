// The stack canary and the handlers that the compiler's checks call
// (-fstack-protector-strong, _FORTIFY_SOURCE), in place of the ones in
// libssp. libssp seeds its canary from a CryptoAPI provider, and acquiring
// one loads rsaenh, bcrypt and crypt32 before the first window can show (a
// sixth of the start-up under Wine); RtlGenRandom gives the same kind of
// randomness from advapi32, which is loaded anyway. Defining these symbols
// keeps libssp's own definitions, and its set-up, out of the link; its
// checked string and memory functions stay and report here. Linked into the
// program itself, not through a library: the references come late (see below).
#include <windows.h>

#include <ntsecapi.h>

#include <cstdint>

namespace {

[[noreturn]] void Fail(const char* message) {
    ::OutputDebugStringA(message);
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    for (;;)
        ::Sleep(INFINITE);
}

// Without a random source: what differs from run to run and is known before
// anything else runs, as other run times seed their canaries.
uintptr_t FallbackCanary(const void* onStack) {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter = {};
    ::QueryPerformanceCounter(&counter);
    uint64_t mixed = (static_cast<uint64_t>(now.dwHighDateTime) << 32) ^ now.dwLowDateTime;
    mixed ^= static_cast<uint64_t>(counter.QuadPart);
    mixed ^= static_cast<uint64_t>(::GetCurrentProcessId()) << 16;
    mixed ^= static_cast<uint64_t>(::GetCurrentThreadId()) << 40;
    mixed ^= reinterpret_cast<uintptr_t>(onStack);
    return static_cast<uintptr_t>(mixed ^ (mixed >> 32));
}

} // namespace

extern "C" {

// The compiler's checks refer to these only once code is generated, after
// link-time optimisation has decided what is used: "used" keeps them.

// Read by every protected function on entry and exit. Its value changes only
// below, in a constructor, when no protected function is on the stack yet.
__attribute__((used)) void* __stack_chk_guard = nullptr;

[[noreturn]] __attribute__((used)) void __stack_chk_fail() {
    Fail("*** stack smashing detected ***: terminated");
}

[[noreturn]] __attribute__((used)) void __chk_fail() {
    Fail("*** buffer overflow detected ***: terminated");
}

} // extern "C"

namespace {

__attribute__((constructor, no_stack_protector)) void SetStackCanary() {
    uintptr_t canary = 0;
    if (!::RtlGenRandom(&canary, sizeof canary) || canary == 0)
        canary = FallbackCanary(&canary);
    __stack_chk_guard = reinterpret_cast<void*>(canary);
}

} // namespace
