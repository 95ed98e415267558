#pragma once
#include <windows.h>

#include <utility>

namespace platform {

// Owner of one Win32 handle; Traits says what "none" is and how to close.
template <class Traits> class UniqueHandle {
public:
    using Handle = typename Traits::Handle;

    UniqueHandle() = default;
    explicit UniqueHandle(Handle h) : m_h(h) {}
    ~UniqueHandle() { Reset(); }
    UniqueHandle(UniqueHandle&& other) noexcept : m_h(other.Release()) {}
    UniqueHandle& operator=(UniqueHandle&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    UniqueHandle(const UniqueHandle&) = delete;
    UniqueHandle& operator=(const UniqueHandle&) = delete;

    Handle Get() const { return m_h; }
    explicit operator bool() const { return m_h != Traits::None(); }
    Handle Release() { return std::exchange(m_h, Traits::None()); }
    void Reset(Handle h = Traits::None()) {
        if (m_h != Traits::None())
            Traits::Close(m_h);
        m_h = h;
    }

private:
    Handle m_h = Traits::None();
};

struct KernelHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

// Handles whose failure value is INVALID_HANDLE_VALUE (files, snapshots).
struct FileHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::CloseHandle(h); }
};

struct FindHandleTraits {
    using Handle = HANDLE;
    static Handle None() { return INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { ::FindClose(h); }
};

template <class GdiHandle> struct GdiObjectTraits {
    using Handle = GdiHandle;
    static Handle None() { return nullptr; }
    static void Close(Handle h) { ::DeleteObject(h); }
};

using UniqueKernelHandle = UniqueHandle<KernelHandleTraits>;
using UniqueFileHandle = UniqueHandle<FileHandleTraits>;
using UniqueFindHandle = UniqueHandle<FindHandleTraits>;
using UniqueFont = UniqueHandle<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueHandle<GdiObjectTraits<HBRUSH>>;

} // namespace platform
