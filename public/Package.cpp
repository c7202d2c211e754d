#include "public/Package.h"

#include <cstring>
#include <new>

namespace quorex {

CPackageBuffer* CPackageBuffer::Create(std::size_t capacity) {
    void* memory = ::operator new(sizeof(CPackageBuffer) + capacity);
    return new (memory) CPackageBuffer(capacity);
}

void CPackageBuffer::Free() {
    this->~CPackageBuffer();
    ::operator delete(this);
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

}  // namespace quorex
