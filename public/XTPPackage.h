// CXTPPackage: an XTP package under construction or being read, a window on a shared block.
//
// Wire form: the 56-byte XTP header, then ContentLength bytes of fields, each
//
//   0        2          4                 4 + FieldSize
//   +--------+----------+-----------------+
//   |FieldID | FieldSize| record (encoded)|   FieldID and FieldSize big-endian
//   +--------+----------+-----------------+
//
// Building prepends each field in front of the previous ones, so the field added last comes
// first. Parsing accepts fields whose definition positions never increase from one field to the
// next, which is exactly what building produces. Used by one thread at a time.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <span>

#include "public/Package.h"
#include "public/PackageDefinition.h"
#include "public/RecordTraits.h"
#include "public/WireBytes.h"

namespace quorex {

inline constexpr std::size_t XTPHLEN = 56;             // XTP header on the wire
inline constexpr std::size_t kXTPHeaderWireBytes = 52;  // encoded members; 4 reserved bytes follow
inline constexpr std::size_t kFieldHeaderLength = 4;
inline constexpr std::size_t kMaxContentLength = 4040;
inline constexpr std::size_t kMaxPayloadLength = 4096;
// Bytes the frame header and the longest extension need in front of a package.
inline constexpr std::size_t kFrameHeaderReserve = 133;
// Block size of a package built for sending: room for both headers in front of a full payload.
inline constexpr std::size_t kSendPackageCapacity = XTPHLEN + kFrameHeaderReserve + kMaxPayloadLength;
// Room that the layers below need in front of a package, counted against the payload limit.
inline constexpr std::size_t kLowerHeadersAllowance = 116;
// A Tid at or above this value is passed on without field checks.
inline constexpr std::uint32_t kUncheckedTidBase = 0x10000000;

// Parse results below zero.
enum ParseError : int {
    kParseShortOrLengthMismatch = -1,
    kParseUnknownTid = -2,
    kParseWrongFieldSize = -3,
    kParseFieldsDoNotAddUp = -4,
};

// The fields of one ID found by the last parse: they lie back to back in the content.
class CFieldRange {
public:
    CFieldRange() = default;
    CFieldRange(const std::uint8_t* first, int count, const CFieldDescriptor* descriptor)
        : m_first(first), m_count(count), m_descriptor(descriptor) {}

    int Count() const { return m_count; }
    const CFieldDescriptor* Descriptor() const { return m_descriptor; }
    // The data bytes of the k-th field (0 <= k < Count()). Each step reads the field's own size,
    // so variable-length fields of different sizes are found correctly too.
    std::span<const std::uint8_t> Data(int k) const {
        const std::uint8_t* field = m_first;
        const std::uint32_t fixed = m_descriptor->GetWireLength();
        if (fixed != 0) {
            field += static_cast<std::size_t>(k) * (kFieldHeaderLength + fixed);
        } else {
            for (int i = 0; i < k; ++i) field += kFieldHeaderLength + wire::LoadU16(field + 2);
        }
        return {field + kFieldHeaderLength, wire::LoadU16(field + 2)};
    }
    // Clears the record (GetRecordSize() bytes) and decodes the k-th field into it.
    void Decode(int k, void* record) const;

private:
    const std::uint8_t* m_first = nullptr;
    int m_count = 0;
    const CFieldDescriptor* m_descriptor = nullptr;
};

class CXTPPackage : public CPackage {
public:
    // Finds the definition of tid and resets the package for building: header cleared, Chain 'S',
    // Tid set, field cursor 0, empty window at the block's end (a block of kSendPackageCapacity
    // is allocated on first use). False, and nothing changed, when tid is not in the catalogue.
    bool Prepare(std::uint32_t tid);
    // Prepends a field header for fieldSize data bytes and returns where the data goes, or
    // nullptr (package unchanged) when no definition is set, the package would grow past its
    // limits, the headroom is short, the definition holds no descriptor with this ID at or after
    // the field cursor, or that descriptor has a fixed wire length other than fieldSize.
    std::uint8_t* AddField(std::uint16_t fieldId, std::uint16_t fieldSize);
    // Adds one record as a field, encoded by its descriptor; false when AddField refuses it.
    template <class Record>
    bool AddRecord(const Record& record);
    // Copies a request identifier of at most 8 characters into the header's RootID.
    void SetRootID(const char* requestId);
    // Prepends the 56-byte wire header encoded from header; false when the headroom is short.
    bool PrependHeader(const TXTPHeader& header);

    // Decodes the header, checks the content against the definition and records where the fields
    // are. Returns the package length or a ParseError.
    int Parse();
    // The fields of the first definition entry with this ID; empty when there are none.
    CFieldRange GetField(std::uint16_t fieldId) const;
    // Decodes the index-th field of Record's type into record (every member written, texts
    // terminated); false when the package has no such field or carries that ID with another
    // record's layout.
    template <class Record>
    bool GetRecord(Record& record, int index = 0) const;
    int GetFieldCount() const { return m_fieldCount; }
    const CPackageDefinition* GetDefinition() const { return m_definition; }

    // Flat form, used to queue packages between threads: the 56-byte in-memory header followed by
    // the content. SaveFlat sets ContentLength and returns the bytes written (0 when out is too
    // small). LoadFlat raises CRuntimeError "非法的Tid" for an unknown Tid and CDesignError
    // "package buffer too small" when the flat form is cut short or cannot fit the block.
    std::size_t SaveFlat(std::span<std::uint8_t> out);
    void LoadFlat(std::span<const std::uint8_t> flat);

    TXTPHeader m_XTPHeader{};

private:
    // Where the fields of one definition entry lie, as one word: the offset of the first field in
    // the content in the low 16 bits, the number of fields above them. Contents are shorter than
    // 65536 bytes, so both fit.
    using Occurrence = std::uint32_t;
    static constexpr Occurrence kOneMoreField = 1u << 16;
    static std::uint32_t FirstOffset(Occurrence occurrence) { return occurrence & 0xFFFF; }
    static int CountOf(Occurrence occurrence) { return static_cast<int>(occurrence >> 16); }

    // Consecutive packages on one connection are often of one type, so the last definition is
    // tried before the catalogue.
    const CPackageDefinition* DefinitionOf(std::uint32_t tid) const {
        if (m_definition != nullptr && m_definition->Tid == tid) [[likely]]
            return m_definition;
        return FindPackageDefinition(tid);
    }

    // The first definition entry with this field ID, or -1.
    int FirstPositionOf(std::uint16_t fieldId) const;
    // The diagnostics and results of the two refusals that print; kept out of line.
    [[gnu::cold]] int RefuseLengthMismatch(std::size_t length);
    [[gnu::cold]] int RefuseFieldsNotAddingUp(std::size_t walked) const;

    const CPackageDefinition* m_definition = nullptr;
    int m_fieldCursor = 0;
    Occurrence m_occurrences[kMaxPackageFields]{};
    // Bit i is set when definition entry i has fields in the last parse; the other entries of
    // m_occurrences are stale. Nothing is set after a failed parse.
    std::uint32_t m_presentEntries = 0;
    int m_fieldCount = 0;
};


// Encodes the header's 52 member bytes and zeroes the 4 reserved ones (56 bytes at dest).
inline void EncodeXTPHeader(const TXTPHeader& header, std::uint8_t* dest) {
    RecordTraits<TXTPHeader>::Encode(header, dest);
    std::memset(dest + kXTPHeaderWireBytes, 0, XTPHLEN - kXTPHeaderWireBytes);
}

inline bool CXTPPackage::Prepare(std::uint32_t tid) {
    const CPackageDefinition* definition = DefinitionOf(tid);
    if (definition == nullptr) return false;
    if (!HasBlock() || IsBlockShared()) [[unlikely]]
        Allocate(kSendPackageCapacity);
    m_definition = definition;
    m_XTPHeader = TXTPHeader{};
    m_XTPHeader.Chain = 'S';
    m_XTPHeader.Tid = tid;
    m_fieldCursor = 0;
    m_fieldCount = 0;
    m_presentEntries = 0;
    ResetToEnd();
    return true;
}

inline void CXTPPackage::SetRootID(const char* requestId) {
    // Gathered in a word and stored as one: the header encoder reads RootID as one word, and a
    // load over several narrower stores would stall.
    std::uint64_t characters = 0;
    if (requestId != nullptr) {
        for (unsigned i = 0; i < sizeof characters && requestId[i] != '\0'; ++i)
            characters |= std::uint64_t{static_cast<unsigned char>(requestId[i])} << (8 * i);
    }
    std::memcpy(m_XTPHeader.RootID, &characters, sizeof characters);
    m_XTPHeader.RootID[sizeof characters] = '\0';
}

[[gnu::always_inline]] inline std::uint8_t* CXTPPackage::AddField(std::uint16_t fieldId, std::uint16_t fieldSize) {
    const CPackageDefinition* const definition = m_definition;
    if (definition == nullptr) return nullptr;
    // Room for the lower layers' headers is counted against the payload limit; within it the
    // content stays below its own limit of 4040 bytes as well.
    static_assert(kMaxPayloadLength - kLowerHeadersAllowance + kFieldHeaderLength <= kMaxContentLength);
    if (Length() + fieldSize + kLowerHeadersAllowance > kMaxPayloadLength) return nullptr;
    if (Headroom() < fieldSize + kFieldHeaderLength) return nullptr;
    const int count = definition->fieldCount;
    int position = m_fieldCursor;
    while (position < count && definition->fieldIds[position] != fieldId) ++position;
    if (position == count) return nullptr;
    const std::uint32_t fixed = definition->fields[position]->GetWireLength();
    if (fixed != 0 && fixed != fieldSize) return nullptr;

    m_fieldCursor = position;
    std::uint8_t* header = PrependChecked(kFieldHeaderLength + fieldSize);
    // Field ID and size as one big-endian word: one store instead of two.
    wire::PutU32(header, std::uint32_t{fieldId} << 16 | fieldSize);
    return header + kFieldHeaderLength;
}

// Inlined into the receiving layers: the walk is short, and a call would cost more than it.
[[gnu::always_inline]] inline int CXTPPackage::Parse() {
    m_presentEntries = 0;
    const std::uint8_t* const base = Address();
    const std::size_t length = Length();
    if (length < XTPHLEN) return kParseShortOrLengthMismatch;
    RecordTraits<TXTPHeader>::Decode(m_XTPHeader, base);
    // Read again from the wire: the header's text stores may alias the decoded members.
    const std::size_t contentLength = wire::LoadU16(base + 2);
    const std::uint32_t tid = wire::LoadU32(base + 4);
    if (length - XTPHLEN != contentLength) [[unlikely]]
        return RefuseLengthMismatch(length);
    m_fieldCount = 0;
    if (tid >= kUncheckedTidBase) {
        m_definition = nullptr;
        return static_cast<int>(length);
    }
    const CPackageDefinition* const definition = DefinitionOf(tid);
    m_definition = definition;
    if (definition == nullptr) return kParseUnknownTid;

    // Walk the fields with a definition position that only moves towards entry 0.
    Occurrence* const occurrences = m_occurrences;
    const std::uint8_t* const content = base + XTPHLEN;
    int position = definition->fieldCount - 1;
    int lastPosition = -1;
    std::uint32_t present = 0;
    std::size_t offset = 0;
    int found = 0;
    while (offset + kFieldHeaderLength <= contentLength) {
        const std::uint32_t fieldHeader = wire::LoadU32(content + offset);
        const auto fieldId = static_cast<std::uint16_t>(fieldHeader >> 16);
        const std::size_t fieldSize = fieldHeader & 0xFFFF;
        while (position >= 0 && definition->fieldIds[position] != fieldId) --position;
        if (position < 0) break;
        const std::uint32_t fixed = definition->fields[position]->GetWireLength();
        if (fixed != 0 && fixed != fieldSize) return kParseWrongFieldSize;
        if (offset + kFieldHeaderLength + fieldSize > contentLength) break;
        // Positions never increase, so a field opens a new entry exactly when its position differs
        // from the previous field's; the entry is written, not read back, on that path.
        if (position != lastPosition) {
            occurrences[position] = static_cast<Occurrence>(offset) | kOneMoreField;
            present |= 1u << position;
            lastPosition = position;
        } else {
            occurrences[position] += kOneMoreField;
        }
        ++found;
        offset += kFieldHeaderLength + fieldSize;
    }
    m_fieldCount = found;
    if (offset != contentLength) [[unlikely]]
        return RefuseFieldsNotAddingUp(offset);
    m_presentEntries = present;
    return static_cast<int>(length);
}

inline bool CXTPPackage::PrependHeader(const TXTPHeader& header) {
    std::uint8_t* dest = Prepend(XTPHLEN);
    if (dest == nullptr) return false;
    EncodeXTPHeader(header, dest);
    return true;
}

inline int CXTPPackage::FirstPositionOf(std::uint16_t fieldId) const {
    const CPackageDefinition* const definition = m_definition;
    if (definition == nullptr) return -1;
    for (int i = 0; i < definition->fieldCount; ++i) {
        if (definition->fieldIds[i] == fieldId) return i;
    }
    return -1;
}

inline CFieldRange CXTPPackage::GetField(std::uint16_t fieldId) const {
    const int position = FirstPositionOf(fieldId);
    if (position < 0 || (m_presentEntries >> position & 1) == 0) return {};
    const Occurrence occurrence = m_occurrences[position];
    return {Address() + XTPHLEN + FirstOffset(occurrence), CountOf(occurrence), m_definition->fields[position]};
}

// The header a package goes out or is stored with: the series and sequence number of base (the
// sender's template), the package's content length and type, and the fields every hop passes on
// unchanged (Chain, RootID, sender IDs, jump fields, time mark). Packages without a definition
// (Tids from 0x10000000) keep the Tid they carry.
inline TXTPHeader ForwardedHeader(const TXTPHeader& base, const CXTPPackage& package) {
    const TXTPHeader& source = package.m_XTPHeader;
    TXTPHeader header = base;
    header.ContentLength = static_cast<std::uint16_t>(package.Length());
    header.Tid = package.GetDefinition() != nullptr ? package.GetDefinition()->Tid : source.Tid;
    header.Chain = source.Chain;
    std::memset(header.RootID, 0, sizeof header.RootID);
    std::memcpy(header.RootID, source.RootID, strnlen(source.RootID, sizeof header.RootID - 1));
    header.SenderID0 = source.SenderID0;
    header.SenderID1 = source.SenderID1;
    header.SenderID2 = source.SenderID2;
    header.SenderID3 = source.SenderID3;
    header.SenderID4 = source.SenderID4;
    header.SenderID5 = source.SenderID5;
    header.CurrJump = source.CurrJump;
    header.JumpFlag = source.JumpFlag;
    header.TimeMark = source.TimeMark;
    return header;
}

template <class Record>
[[gnu::always_inline]] inline bool CXTPPackage::AddRecord(const Record& record) {
    using Traits = RecordTraits<Record>;
    std::uint8_t* data = AddField(Traits::kFieldID, static_cast<std::uint16_t>(Traits::kWireLength));
    if (data == nullptr) return false;
    Traits::Encode(record, data);
    return true;
}

template <class Record>
bool CXTPPackage::GetRecord(Record& record, int index) const {
    using Traits = RecordTraits<Record>;
    static_assert(Traits::kWireLength != 0, "records have a fixed wire length");
    const int position = FirstPositionOf(Traits::kFieldID);
    if (position < 0 || (m_presentEntries >> position & 1) == 0) return false;
    if (m_definition->fields[position] != &Traits::kDescriptor) return false;
    const Occurrence occurrence = m_occurrences[position];
    if (index < 0 || index >= CountOf(occurrence)) return false;
    // Fields of one ID lie back to back, each of the record's fixed size.
    const std::size_t stride = kFieldHeaderLength + Traits::kWireLength;
    Traits::Decode(record, Address() + XTPHLEN + FirstOffset(occurrence) + static_cast<std::size_t>(index) * stride +
                               kFieldHeaderLength);
    return true;
}

}  // namespace quorex
