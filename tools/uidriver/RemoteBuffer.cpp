#include "tools/uidriver/RemoteBuffer.h"

#include "tools/uidriver/DriverError.h"

namespace {

HANDLE OpenOwner(HWND window) {
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    return OpenProcess(PROCESS_VM_OPERATION | PROCESS_VM_READ | PROCESS_VM_WRITE, FALSE, pid);
}

} // namespace

RemoteBuffer::RemoteBuffer(HWND window, size_t size) : m_process(OpenOwner(window)), m_size(size) {
    if (!m_process)
        throw DriverError("failed", "cannot open the window's process");
    m_address =
        VirtualAllocEx(m_process.Get(), nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    if (!m_address)
        throw DriverError("failed", "cannot allocate memory in the window's process");
}

RemoteBuffer::~RemoteBuffer() {
    VirtualFreeEx(m_process.Get(), m_address, 0, MEM_RELEASE);
}

void RemoteBuffer::write(const void* data, size_t size) {
    SIZE_T written = 0;
    if (size > m_size || !WriteProcessMemory(m_process.Get(), m_address, data, size, &written) ||
        written != size)
        throw DriverError("failed", "cannot write to the window's process");
}

void RemoteBuffer::read(void* data, size_t size) const {
    SIZE_T got = 0;
    if (size > m_size || !ReadProcessMemory(m_process.Get(), m_address, data, size, &got) ||
        got != size)
        throw DriverError("failed", "cannot read from the window's process");
}
