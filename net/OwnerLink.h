#pragma once
#include "platform/Lock.h"

#include <mutex>

// The link from job threads to the manager's owner (the window). Jobs are
// never waited for, so they may finish after the owner is gone: every
// callback goes through Call, and Detach cuts the link and waits until no
// callback is running any more. After Detach no job touches the owner.
class OwnerLink {
public:
    explicit OwnerLink(void* pOwner) : m_pOwner(pOwner) {}

    // Runs fn(owner) unless the link has been cut.
    template <class Fn> void Call(Fn&& fn) {
        void* pOwner = Enter();
        if (!pOwner)
            return;
        fn(pOwner);
        Leave();
    }

    // Called by the owner's side before the owner goes away; idempotent. The
    // owner must not be waiting for anything a running callback needs but
    // messages sent to its windows, which are served meanwhile.
    void Detach();

private:
    void* Enter();
    void Leave();
    int Active();

    platform::Lock m_lock;
    void* m_pOwner;
    int m_nActive = 0;
};
