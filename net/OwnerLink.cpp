#include "net/OwnerLink.h"

#include "platform/Thread.h"

void* OwnerLink::Enter() {
    std::lock_guard<platform::Lock> guard(m_lock);
    if (m_pOwner)
        ++m_nActive;
    return m_pOwner;
}

void OwnerLink::Leave() {
    std::lock_guard<platform::Lock> guard(m_lock);
    --m_nActive;
}

int OwnerLink::Active() {
    std::lock_guard<platform::Lock> guard(m_lock);
    return m_nActive;
}

// Happens once, when the window ends; callbacks are short, so a plain poll
// serves. A running callback may be waiting for the window's thread, the
// caller, to take a message it sends: those are served while waiting.
void OwnerLink::Detach() {
    {
        std::lock_guard<platform::Lock> guard(m_lock);
        m_pOwner = nullptr;
    }
    while (Active() != 0)
        platform::SleepServingSentMessages(1);
}
