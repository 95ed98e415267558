#pragma once

namespace platform {

using ThreadEntry = void (*)(void* pParam);

// Starts a thread that nobody joins. Returns false when no thread could be
// started; the parameter then still belongs to the caller.
using ThreadStarter = bool (*)(ThreadEntry entry, void* pParam);

bool StartDetachedThread(ThreadEntry entry, void* pParam);

// Lets the calling thread wait a little.
void SleepMilliseconds(unsigned milliseconds);

// The same for a thread with windows: messages that other threads are
// sending to them meanwhile are served first, so that a thread blocked in
// such a call is not left waiting for this one.
void SleepServingSentMessages(unsigned milliseconds);

} // namespace platform
