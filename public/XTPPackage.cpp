#include "public/XTPPackage.h"

#include <cstdio>
#include <cstring>

#include "public/ErrorTexts.h"
#include "public/WireBytes.h"

namespace quorex {
namespace {

// Room that the layers below need in front of a package, counted against the payload limit.
constexpr std::size_t kLowerHeadersAllowance = 116;

}  // namespace

std::span<const std::uint8_t> CFieldRange::Data(int k) const {
    const std::uint8_t* field = m_first;
    const std::uint32_t fixed = m_descriptor->GetWireLength();
    if (fixed != 0) {
        field += static_cast<std::size_t>(k) * (kFieldHeaderLength + fixed);
    } else {
        for (int i = 0; i < k; ++i) field += kFieldHeaderLength + wire::LoadU16(field + 2);
    }
    return {field + kFieldHeaderLength, wire::LoadU16(field + 2)};
}

void CFieldRange::Decode(int k, void* record) const {
    std::memset(record, 0, m_descriptor->GetRecordSize());
    m_descriptor->Decode(record, Data(k).data());
}

void EncodeXTPHeader(const TXTPHeader& header, std::uint8_t* dest) {
    RecordTraits<TXTPHeader>::Encode(header, dest);
    std::memset(dest + kXTPHeaderWireBytes, 0, XTPHLEN - kXTPHeaderWireBytes);
}

bool CXTPPackage::Prepare(std::uint32_t tid) {
    const CPackageDefinition* definition = FindPackageDefinition(tid);
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

std::uint8_t* CXTPPackage::AddField(std::uint16_t fieldId, std::uint16_t fieldSize) {
    if (m_definition == nullptr) return nullptr;
    const std::size_t content = Length();
    if (content + fieldSize + kLowerHeadersAllowance > kMaxPayloadLength) return nullptr;
    if (Headroom() < fieldSize + kFieldHeaderLength) return nullptr;
    if (content + kFieldHeaderLength + fieldSize > kMaxContentLength) return nullptr;
    const auto fields = m_definition->Fields();
    int position = m_fieldCursor;
    while (position < static_cast<int>(fields.size()) && fields[position]->GetFieldID() != fieldId) ++position;
    if (position == static_cast<int>(fields.size())) return nullptr;
    const std::uint32_t fixed = fields[position]->GetWireLength();
    if (fixed != 0 && fixed != fieldSize) return nullptr;

    m_fieldCursor = position;
    std::uint8_t* header = Prepend(kFieldHeaderLength + fieldSize);
    wire::PutU16(wire::PutU16(header, fieldId), fieldSize);
    return header + kFieldHeaderLength;
}

void CXTPPackage::SetRootID(const char* requestId) {
    std::memset(m_XTPHeader.RootID, 0, sizeof m_XTPHeader.RootID);
    if (requestId != nullptr) std::strncpy(m_XTPHeader.RootID, requestId, sizeof m_XTPHeader.RootID - 1);
}

bool CXTPPackage::PrependHeader(const TXTPHeader& header) {
    std::uint8_t* dest = Prepend(XTPHLEN);
    if (dest == nullptr) return false;
    EncodeXTPHeader(header, dest);
    return true;
}

int CXTPPackage::Parse() {
    const std::size_t length = Length();
    if (length < XTPHLEN) return kParseShortOrLengthMismatch;
    std::memset(m_occurrences, 0, sizeof m_occurrences);
    m_fieldCount = 0;
    m_definition = nullptr;
    const std::uint8_t* const base = Address();
    RecordTraits<TXTPHeader>::Decode(m_XTPHeader, base);
    const std::size_t contentLength = m_XTPHeader.ContentLength;
    if (length - XTPHLEN != contentLength) {
        std::printf("Length()-XTPHLEN=%d m_XTPHeader.ContentLength=%d\n", static_cast<int>(length - XTPHLEN),
                    static_cast<int>(contentLength));
        return kParseShortOrLengthMismatch;
    }
    if (m_XTPHeader.Tid >= kUncheckedTidBase) return static_cast<int>(length);
    m_definition = FindPackageDefinition(m_XTPHeader.Tid);
    if (m_definition == nullptr) return kParseUnknownTid;

    // Walk the fields with a definition position that only moves towards entry 0.
    const auto fields = m_definition->Fields();
    const std::uint8_t* const content = base + XTPHLEN;
    int position = static_cast<int>(fields.size()) - 1;
    std::size_t offset = 0;
    int found = 0;
    while (offset + kFieldHeaderLength <= contentLength) {
        const std::uint16_t fieldId = wire::LoadU16(content + offset);
        const std::uint16_t fieldSize = wire::LoadU16(content + offset + 2);
        while (position >= 0 && fields[position]->GetFieldID() != fieldId) --position;
        if (position < 0) break;
        const std::uint32_t fixed = fields[position]->GetWireLength();
        if (fixed != 0 && fixed != fieldSize) return kParseWrongFieldSize;
        if (offset + kFieldHeaderLength + fieldSize > contentLength) break;
        Occurrence& occurrence = m_occurrences[position];
        if (occurrence.count++ == 0) occurrence.firstOffset = static_cast<std::uint32_t>(offset);
        ++found;
        offset += kFieldHeaderLength + fieldSize;
    }
    m_fieldCount = found;
    if (offset != contentLength) {
        std::printf("Tid=%08x\n", m_XTPHeader.Tid);
        std::printf("size=%d m_XTPHeader.ContentLength=%d\n", static_cast<int>(offset),
                    static_cast<int>(contentLength));
        return kParseFieldsDoNotAddUp;
    }
    return static_cast<int>(length);
}

CFieldRange CXTPPackage::GetField(std::uint16_t fieldId) const {
    if (m_definition == nullptr) return {};
    const auto fields = m_definition->Fields();
    for (std::size_t i = 0; i < fields.size(); ++i) {
        if (fields[i]->GetFieldID() != fieldId) continue;
        const Occurrence& occurrence = m_occurrences[i];
        if (occurrence.count == 0) return {};
        return {Address() + XTPHLEN + occurrence.firstOffset, occurrence.count, fields[i]};
    }
    return {};
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
