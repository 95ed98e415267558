#include "net/OwnerLink.h"

void* OwnerLink::Enter() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (m_pOwner)
        ++m_nActive;
    return m_pOwner;
}

void OwnerLink::Leave() {
    std::lock_guard<std::mutex> guard(m_mutex);
    if (--m_nActive == 0)
        m_idle.notify_all();
}

void OwnerLink::Detach() {
    std::unique_lock<std::mutex> lock(m_mutex);
    m_pOwner = nullptr;
    m_idle.wait(lock, [this] { return m_nActive == 0; });
}
