// CPackageBuffer and CPackage: a package is a window [start, end) on a reference-counted byte
// block. Building never moves end: every layer prepends its bytes in front of what is there, into
// the headroom between the block's beginning and start. Receiving layers take views of one block
// instead of copying. The reference count is a plain integer: all views of one block stay on the
// thread that owns them.
#pragma once

#include <cstddef>
#include <cstdint>

namespace quorex {

class CPackageBuffer {
public:
    // A new block with a reference count of 1.
    static CPackageBuffer* Create(std::size_t capacity);
    void AddRef() { ++m_references; }
    // Drops one reference; the block is freed when none is left.
    void Release() {
        if (--m_references == 0) Free();
    }
    bool IsShared() const { return m_references > 1; }
    std::uint8_t* Data() { return reinterpret_cast<std::uint8_t*>(this + 1); }
    std::size_t Capacity() const { return m_capacity; }

private:
    explicit CPackageBuffer(std::size_t capacity) : m_capacity(capacity) {}
    void Free();
    std::size_t m_capacity;
    int m_references = 1;
};

class CPackage {
public:
    CPackage() = default;
    CPackage(const CPackage&) = delete;
    CPackage& operator=(const CPackage&) = delete;
    virtual ~CPackage() { Release(); }

    // Drops the current block and takes a new one of the given capacity; the window is empty and
    // sits at the block's end, so the whole block is headroom.
    void Allocate(std::size_t capacity);
    // Places n bytes at the end of this package's own block (a new one when the block is shared
    // or too small) and makes them the window.
    void Assign(const void* bytes, std::size_t n);
    // Another view of the same block with the same window (reference count + 1).
    void ViewOf(const CPackage& other) {
        if (this == &other) return;
        // Each member is read on its own before anything is written: the window's start was
        // usually just moved by a prepend, and one wide load over that narrow store would stall.
        CPackageBuffer* const buffer = other.m_buffer;
        std::uint8_t* const start = other.m_start;
        std::uint8_t* const end = other.m_end;
        if (buffer != nullptr) buffer->AddRef();
        Release();
        m_buffer = buffer;
        m_start = start;
        m_end = end;
    }
    // Drops the reference to the block and empties the window.
    void Release() {
        if (m_buffer != nullptr) m_buffer->Release();
        m_buffer = nullptr;
        m_start = m_end = nullptr;
    }

    // Moves start back by n and returns the new start, or nullptr when that would pass the
    // beginning of the block.
    std::uint8_t* Prepend(std::size_t n) {
        if (Headroom() < n) return nullptr;
        m_start -= n;
        return m_start;
    }
    // Prepend for a caller that has made sure of the headroom.
    std::uint8_t* PrependChecked(std::size_t n) {
        m_start -= n;
        return m_start;
    }
    // Moves start forward by n; false (and nothing moved) when fewer than n bytes remain.
    bool Pop(std::size_t n) {
        if (Length() < n) return false;
        m_start += n;
        return true;
    }
    // Shortens the window to its first n bytes; false when it holds fewer.
    bool Truncate(std::size_t n) {
        if (Length() < n) return false;
        m_end = m_start + n;
        return true;
    }
    // Places the window at [offset, offset + length) of the block; false (nothing moved) without a
    // block or when that passes the block's end. Lets a reader refill a receive block in place.
    bool SetWindow(std::size_t offset, std::size_t length) {
        if (m_buffer == nullptr || offset > m_buffer->Capacity() || length > m_buffer->Capacity() - offset) return false;
        m_start = m_buffer->Data() + offset;
        m_end = m_start + length;
        return true;
    }
    // Empties the window and puts it at the end of the block.
    void ResetToEnd() {
        if (m_buffer != nullptr) m_start = m_end = m_buffer->Data() + m_buffer->Capacity();
    }

    std::uint8_t* Address() const { return m_start; }
    std::size_t Length() const { return static_cast<std::size_t>(m_end - m_start); }
    std::size_t Headroom() const {
        return m_buffer == nullptr ? 0 : static_cast<std::size_t>(m_start - m_buffer->Data());
    }
    bool HasBlock() const { return m_buffer != nullptr; }
    // True when another package shares this one's block: writing into it would change their bytes.
    bool IsBlockShared() const { return m_buffer != nullptr && m_buffer->IsShared(); }

private:
    CPackageBuffer* m_buffer = nullptr;
    std::uint8_t* m_start = nullptr;
    std::uint8_t* m_end = nullptr;
};

}  // namespace quorex
