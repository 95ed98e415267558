#pragma once
#include <windows.h>

#include "platform/UniqueHandle_win.h"

#include <cstddef>

// Memory in another process, for control messages whose arguments Windows does
// not copy across processes (the SysLink's LM_GETITEM and LM_HITTEST). Both
// processes are 32-bit, so the structures have the same layout on both sides.
class RemoteBuffer {
public:
    // For the process that owns the window. Throws DriverError.
    RemoteBuffer(HWND window, size_t size);
    ~RemoteBuffer();
    RemoteBuffer(const RemoteBuffer&) = delete;
    RemoteBuffer& operator=(const RemoteBuffer&) = delete;

    LPARAM address() const { return reinterpret_cast<LPARAM>(m_address); }
    void write(const void* data, size_t size);
    void read(void* data, size_t size) const;

private:
    platform::UniqueKernelHandle m_process;
    void* m_address = nullptr;
    size_t m_size;
};
