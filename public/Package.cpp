#include "public/Package.h"

#include <cstring>
#include <new>

namespace quorex {

CPackageBuffer* CPackageBuffer::Create(std::size_t capacity) {
    void* memory = ::operator new(sizeof(CPackageBuffer) + capacity);
    return new (memory) CPackageBuffer(capacity);
}

void CPackageBuffer::Release() {
    if (--m_references == 0) {
        this->~CPackageBuffer();
        ::operator delete(this);
    }
}

void CPackage::Allocate(std::size_t capacity) {
    Release();
    m_buffer = CPackageBuffer::Create(capacity);
    ResetToEnd();
}

void CPackage::Assign(const void* bytes, std::size_t n) {
    if (m_buffer == nullptr || m_buffer->IsShared() || m_buffer->Capacity() < n) Allocate(n);
    ResetToEnd();
    std::memcpy(Prepend(n), bytes, n);
}

void CPackage::ViewOf(const CPackage& other) {
    if (this == &other) return;
    if (other.m_buffer != nullptr) other.m_buffer->AddRef();
    Release();
    m_buffer = other.m_buffer;
    m_start = other.m_start;
    m_end = other.m_end;
}

void CPackage::Release() {
    if (m_buffer != nullptr) m_buffer->Release();
    m_buffer = nullptr;
    m_start = m_end = nullptr;
}

std::uint8_t* CPackage::Prepend(std::size_t n) {
    if (Headroom() < n) return nullptr;
    m_start -= n;
    return m_start;
}

bool CPackage::Pop(std::size_t n) {
    if (Length() < n) return false;
    m_start += n;
    return true;
}

bool CPackage::Truncate(std::size_t n) {
    if (Length() < n) return false;
    m_end = m_start + n;
    return true;
}

void CPackage::ResetToEnd() {
    if (m_buffer == nullptr) return;
    m_start = m_end = m_buffer->Data() + m_buffer->Capacity();
}

std::size_t CPackage::Headroom() const {
    return m_buffer == nullptr ? 0 : static_cast<std::size_t>(m_start - m_buffer->Data());
}

}  // namespace quorex
