#pragma once

#ifdef _WIN32
#include <windows.h>
#else
#include <mutex>
#endif

namespace platform {

// A plain mutual-exclusion lock (a critical section on Windows), used with
// std::lock_guard. Our own rather than std::mutex so that the shipped
// program needs no POSIX thread runtime, which Windows XP cannot load.
class Lock {
public:
#ifdef _WIN32
    Lock() {
        ::InitializeCriticalSection(&m_section);
    }
    ~Lock() {
        ::DeleteCriticalSection(&m_section);
    }
    void lock() {
        ::EnterCriticalSection(&m_section);
    }
    void unlock() {
        ::LeaveCriticalSection(&m_section);
    }
#else
    Lock() = default;
    void lock() {
        m_mutex.lock();
    }
    void unlock() {
        m_mutex.unlock();
    }
#endif
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

private:
#ifdef _WIN32
    CRITICAL_SECTION m_section;
#else
    std::mutex m_mutex;
#endif
};

} // namespace platform
