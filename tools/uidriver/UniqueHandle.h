#pragma once
#include <windows.h>

// Owns a kernel handle (a process here) and closes it.
class UniqueHandle {
public:
    explicit UniqueHandle(HANDLE handle) : m_handle(handle) {}
    ~UniqueHandle() {
        if (m_handle)
            CloseHandle(m_handle);
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    HANDLE get() const { return m_handle; }
    explicit operator bool() const { return m_handle != nullptr; }

private:
    HANDLE m_handle;
};
