#include "platform/Thread.h"

#include <windows.h>

#include <process.h>

#include <memory>

#if KESTRIX_TEST_HOOKS
#include "platform/TestHooks.h"
#endif

namespace platform {

namespace {

struct ThreadStart {
    ThreadEntry entry;
    void* pParam;
};

unsigned __stdcall RunThread(void* pStart) {
    const std::unique_ptr<ThreadStart> start(static_cast<ThreadStart*>(pStart));
    start->entry(start->pParam);
    return 0;
}

} // namespace

// Through the C run-time library, so that the thread may use it freely.
bool StartDetachedThread(ThreadEntry entry, void* pParam) {
#if KESTRIX_TEST_HOOKS
    if (TestHookEnabled("KESTRIX_TEST_NO_THREADS"))
        return false;
#endif
    auto start = std::make_unique<ThreadStart>(ThreadStart{entry, pParam});
    const uintptr_t thread = _beginthreadex(nullptr, 0, &RunThread, start.get(), 0, nullptr);
    if (thread == 0)
        return false;
    start.release(); // the thread owns it now
    ::CloseHandle(reinterpret_cast<HANDLE>(thread));
    return true;
}

void SleepMilliseconds(unsigned milliseconds) {
    ::Sleep(milliseconds);
}

void SleepServingSentMessages(unsigned milliseconds) {
    MSG message;
    ::PeekMessageW(&message, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    ::Sleep(milliseconds);
}

} // namespace platform
