#include "public/XTPPackage.h"

#include <cstring>

#include "public/ErrorReport.h"
#include "public/ErrorTexts.h"
#include "public/WireBytes.h"

namespace quorex {
void CFieldRange::Decode(int k, void* record) const {
    std::memset(record, 0, m_descriptor->GetRecordSize());
    m_descriptor->Decode(record, Data(k).data());
}

int CXTPPackage::RefuseLengthMismatch(std::size_t length) {
    m_definition = nullptr;
    m_fieldCount = 0;
    Log(LogLevel::kError, "Length()-XTPHLEN=%d m_XTPHeader.ContentLength=%d\n", static_cast<int>(length - XTPHLEN),
        static_cast<int>(m_XTPHeader.ContentLength));
    return kParseShortOrLengthMismatch;
}

int CXTPPackage::RefuseFieldsNotAddingUp(std::size_t walked) const {
    Log(LogLevel::kError, "Tid=%08x\n", m_XTPHeader.Tid);
    Log(LogLevel::kError, "size=%d m_XTPHeader.ContentLength=%d\n", static_cast<int>(walked),
        static_cast<int>(m_XTPHeader.ContentLength));
    return kParseFieldsDoNotAddUp;
}

std::size_t CXTPPackage::SaveFlat(std::span<std::uint8_t> out) {
    const std::size_t contentLength = Length();
    if (out.size() < sizeof m_XTPHeader + contentLength) return 0;
    m_XTPHeader.ContentLength = static_cast<std::uint16_t>(contentLength);
    std::memcpy(out.data(), &m_XTPHeader, sizeof m_XTPHeader);
    std::memcpy(out.data() + sizeof m_XTPHeader, Address(), contentLength);
    return sizeof m_XTPHeader + contentLength;
}

void CXTPPackage::LoadFlat(std::span<const std::uint8_t> flat) {
    if (flat.size() < sizeof m_XTPHeader) throw CDesignError(kPackageBufferTooSmall, kModuleXTPPackage, __LINE__);
    TXTPHeader header;
    std::memcpy(&header, flat.data(), sizeof header);
    const CPackageDefinition* definition = FindPackageDefinition(header.Tid);
    if (definition == nullptr) throw CRuntimeError(kIllegalTid, kModuleXTPPackage, __LINE__);
    const std::size_t contentLength = header.ContentLength;
    if (flat.size() < sizeof header + contentLength)
        throw CDesignError(kPackageBufferTooSmall, kModuleXTPPackage, __LINE__);
    if (!HasBlock() || IsBlockShared()) Allocate(kSendPackageCapacity);
    ResetToEnd();
    std::uint8_t* content = Prepend(contentLength);
    if (content == nullptr) throw CDesignError(kPackageBufferTooSmall, kModuleXTPPackage, __LINE__);
    std::memcpy(content, flat.data() + sizeof header, contentLength);
    m_XTPHeader = header;
    m_definition = definition;
    m_fieldCursor = 0;
    m_presentEntries = 0;
}

}  // namespace quorex
