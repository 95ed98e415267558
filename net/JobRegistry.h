#pragma once
#include <cstddef>
#include <cstdint>
#include <mutex>
#include <vector>

#include "platform/Lock.h"

class CKNHttpAdapter;

// The manager's lock and its list of live workers, in creation order. Job
// threads share it with the manager so that a job ending after the manager
// is gone still unregisters safely. Invariant: every listed worker is alive,
// because a worker leaves the list (or the list is emptied) before its thread
// destroys it. The lock is never held across a network call or a callback.
class JobRegistry {
public:
    void Add(CKNHttpAdapter* pAdapter);
    void Remove(CKNHttpAdapter* pAdapter);
    void Clear();
    size_t Count();

    // Log uploads from the start of their job until its thread ends, listed or
    // not: the process waits a little for them at its end.
    void UploadStarted();
    void UploadEnded();
    size_t UploadsInFlight();

    // Runs fn on the first listed worker with this serial while the lock is
    // held, so the worker cannot be destroyed meanwhile. False if none.
    template <class Fn> bool WithWorker(uint64_t serial, Fn&& fn);

private:
    platform::Lock m_lock;
    std::vector<CKNHttpAdapter*> m_adapters;
    size_t m_uploadsInFlight = 0;
};

#include "net/HttpAdapter.h"

template <class Fn> bool JobRegistry::WithWorker(uint64_t serial, Fn&& fn) {
    std::lock_guard<platform::Lock> guard(m_lock);
    for (CKNHttpAdapter* pAdapter : m_adapters) {
        if (pAdapter->Serial() == serial) {
            fn(*pAdapter);
            return true;
        }
    }
    return false;
}
