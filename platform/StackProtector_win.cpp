// The stack canary and the handlers that the compiler's checks call
// (-fstack-protector-strong, _FORTIFY_SOURCE), in place of the ones in
// libssp. libssp seeds its canary from a CryptoAPI provider, and acquiring
// one loads rsaenh, bcrypt and crypt32 before the first window can show;
// RtlGenRandom would need advapi32's SystemFunction036, which Windows 7 and
// later forward to cryptbase.dll, a DLL that is no KnownDLL and that the
// loader would resolve, searching the program's folder, before any line of
// ours runs. So the seed is mixed from what differs from process to process
// and is known before anything runs, as compilers' own run-times seed
// theirs. Defining these symbols keeps libssp's own definitions, and its
// set-up, out of the link; its checked string and memory functions stay and
// report here. Linked into the program itself, not through a library: the
// references come late (see below).
#include <windows.h>

#include <cstdint>

namespace {

// A check failed: the stack or a buffer is known to be overwritten, so
// nothing may run that could reach what the overflow wrote (an exception
// handler, a hook, a debug output listener). Where Windows has it (8 and
// later), the fast-fail interrupt ends the process in the kernel without
// running anything of the process; elsewhere the process is terminated.
[[noreturn]] __attribute__((no_stack_protector)) void EndAtOnce(unsigned fastFailCode) {
    if (::IsProcessorFeaturePresent(PF_FASTFAIL_AVAILABLE))
        __asm__ volatile("int $0x29" : : "c"(fastFailCode) : "memory");
    ::TerminateProcess(::GetCurrentProcess(), STATUS_STACK_BUFFER_OVERRUN);
    __builtin_trap();
}

// One step of a strong 64-bit mixer (splitmix64's finaliser): every input
// bit reaches every output bit.
uint64_t Mix(uint64_t value) {
    value ^= value >> 30;
    value *= 0xBF58476D1CE4E5B9ull;
    value ^= value >> 27;
    value *= 0x94D049BB133111EBull;
    return value ^ (value >> 31);
}

// The time to the processor cycle and the performance counter, the system
// time, the process and thread ids, the tick count, and where the stack and
// this image were placed (address-space layout randomisation).
__attribute__((no_stack_protector)) uintptr_t CanarySeed(const void* onStack) {
    FILETIME now = {};
    ::GetSystemTimeAsFileTime(&now);
    LARGE_INTEGER counter = {};
    ::QueryPerformanceCounter(&counter);
    uint64_t seed = Mix(__builtin_ia32_rdtsc());
    seed = Mix(seed ^ static_cast<uint64_t>(counter.QuadPart));
    seed = Mix(seed ^ ((static_cast<uint64_t>(now.dwHighDateTime) << 32) | now.dwLowDateTime));
    seed = Mix(seed ^
               ((static_cast<uint64_t>(::GetCurrentProcessId()) << 32) | ::GetCurrentThreadId()));
    seed = Mix(seed ^ ::GetTickCount());
    seed = Mix(seed ^ reinterpret_cast<uintptr_t>(onStack));
    seed = Mix(seed ^ reinterpret_cast<uintptr_t>(&CanarySeed));
    const uintptr_t canary = static_cast<uintptr_t>(seed ^ (seed >> 32));
    // Never zero, which an unset canary would equal.
    return canary ? canary : 0x2F8E4C1Bu;
}

} // namespace

extern "C" {

// The compiler's checks refer to these only once code is generated, after
// link-time optimisation has decided what is used: "used" keeps them.

// Read by every protected function on entry and exit. Its value changes only
// below, in a constructor, when no protected function is on the stack yet.
__attribute__((used)) void* __stack_chk_guard = nullptr;

[[noreturn]] __attribute__((used)) void __stack_chk_fail() {
    EndAtOnce(FAST_FAIL_STACK_COOKIE_CHECK_FAILURE);
}

[[noreturn]] __attribute__((used)) void __chk_fail() {
    EndAtOnce(FAST_FAIL_RANGE_CHECK_FAILURE);
}

} // extern "C"

namespace {

// Before every other constructor, and a function of its own: link-time
// optimisation merges the constructors of one priority into one function,
// which is protected when any of them needs it, and would then check the
// canary that changed under it.
__attribute__((constructor(101), noinline, no_stack_protector)) void SetStackCanary() {
    uintptr_t onStack = 0;
    __stack_chk_guard = reinterpret_cast<void*>(CanarySeed(&onStack));
}

} // namespace
