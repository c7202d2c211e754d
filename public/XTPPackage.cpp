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

const CPackageDefinition* CXTPPackage::DefinitionOf(std::uint32_t tid) const {
    // Consecutive packages on one connection are often of one type.
    if (m_definition != nullptr && m_definition->Tid == tid) return m_definition;
    return FindPackageDefinition(tid);
}

bool CXTPPackage::Prepare(std::uint32_t tid) {
    const CPackageDefinition* definition = DefinitionOf(tid);
    if (definition == nullptr) return false;
    if (!HasBlock() || IsBlockShared()) Allocate(kSendPackageCapacity);
    m_definition = definition;
    m_XTPHeader = TXTPHeader{};
    m_XTPHeader.Chain = 'S';
    m_XTPHeader.Tid = tid;
    m_fieldCursor = 0;
    m_fieldCount = 0;
    ResetToEnd();
    return true;
}

void CXTPPackage::SetRootID(const char* requestId) {
    std::memset(m_XTPHeader.RootID, 0, sizeof m_XTPHeader.RootID);
    if (requestId == nullptr) return;
    for (std::size_t i = 0; i + 1 < sizeof m_XTPHeader.RootID && requestId[i] != '\0'; ++i)
        m_XTPHeader.RootID[i] = requestId[i];
}

int CXTPPackage::Parse() {
    const std::size_t length = Length();
    if (length < XTPHLEN) return kParseShortOrLengthMismatch;
    m_fieldCount = 0;
    const std::uint8_t* const base = Address();
    RecordTraits<TXTPHeader>::Decode(m_XTPHeader, base);
    const std::size_t contentLength = m_XTPHeader.ContentLength;
    if (length - XTPHLEN != contentLength) {
        m_definition = nullptr;
        Log(LogLevel::kError, "Length()-XTPHLEN=%d m_XTPHeader.ContentLength=%d\n", static_cast<int>(length - XTPHLEN),
                    static_cast<int>(contentLength));
        return kParseShortOrLengthMismatch;
    }
    if (m_XTPHeader.Tid >= kUncheckedTidBase) {
        m_definition = nullptr;
        return static_cast<int>(length);
    }
    m_definition = DefinitionOf(m_XTPHeader.Tid);
    if (m_definition == nullptr) return kParseUnknownTid;
    std::memset(m_occurrences, 0, sizeof m_occurrences);

    // Walk the fields with a definition position that only moves towards entry 0.
    const std::uint8_t* const content = base + XTPHLEN;
    int position = m_definition->fieldCount - 1;
    int lastPosition = -1;
    std::size_t offset = 0;
    int found = 0;
    while (offset + kFieldHeaderLength <= contentLength) {
        const std::uint16_t fieldId = wire::LoadU16(content + offset);
        const std::uint16_t fieldSize = wire::LoadU16(content + offset + 2);
        while (position >= 0 && m_definition->fieldIds[position] != fieldId) --position;
        if (position < 0) break;
        const std::uint32_t fixed = m_definition->fields[position]->GetWireLength();
        if (fixed != 0 && fixed != fieldSize) return kParseWrongFieldSize;
        if (offset + kFieldHeaderLength + fieldSize > contentLength) break;
        // Positions never increase, so a field opens a new entry exactly when its position differs
        // from the previous field's; the entry is written, not read back, on that path.
        if (position != lastPosition) {
            m_occurrences[position] = Occurrence{static_cast<std::uint32_t>(offset), 1};
            lastPosition = position;
        } else {
            ++m_occurrences[position].count;
        }
        ++found;
        offset += kFieldHeaderLength + fieldSize;
    }
    m_fieldCount = found;
    if (offset != contentLength) {
        Log(LogLevel::kError, "Tid=%08x\n", m_XTPHeader.Tid);
        Log(LogLevel::kError, "size=%d m_XTPHeader.ContentLength=%d\n", static_cast<int>(offset),
                    static_cast<int>(contentLength));
        return kParseFieldsDoNotAddUp;
    }
    return static_cast<int>(length);
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
}

}  // namespace quorex
