#include "net/JobRegistry.h"

#include <algorithm>

void JobRegistry::Add(CKNHttpAdapter* pAdapter) {
    std::lock_guard<platform::Lock> guard(m_lock);
    m_adapters.push_back(pAdapter);
}

void JobRegistry::Remove(CKNHttpAdapter* pAdapter) {
    std::lock_guard<platform::Lock> guard(m_lock);
    auto it = std::find(m_adapters.begin(), m_adapters.end(), pAdapter);
    if (it != m_adapters.end())
        m_adapters.erase(it);
}

void JobRegistry::Clear() {
    std::lock_guard<platform::Lock> guard(m_lock);
    m_adapters.clear();
}

size_t JobRegistry::Count() {
    std::lock_guard<platform::Lock> guard(m_lock);
    return m_adapters.size();
}

void JobRegistry::UploadStarted() {
    std::lock_guard<platform::Lock> guard(m_lock);
    ++m_uploadsInFlight;
}

void JobRegistry::UploadEnded() {
    std::lock_guard<platform::Lock> guard(m_lock);
    if (m_uploadsInFlight > 0)
        --m_uploadsInFlight;
}

size_t JobRegistry::UploadsInFlight() {
    std::lock_guard<platform::Lock> guard(m_lock);
    return m_uploadsInFlight;
}
