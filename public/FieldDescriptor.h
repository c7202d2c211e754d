// CFieldDescriptor: the member list of one record type and its codec between the in-memory struct
// and the packed big-endian wire form. Descriptors are compile-time constants (see RecordTraits.h),
// complete before any code runs and read-only afterwards; any thread may use them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

namespace quorex {

// Member kinds as numbered on the wire descriptors: 3 is a second 32-bit code no record uses.
enum MemberKind : std::int32_t {
    kKindText = 0,
    kKindInt16 = 1,
    kKindInt32 = 2,
    kKindInt32Alt = 3,
    kKindFloat64 = 4,
};

struct CMemberEntry {
    std::int32_t kind;
    std::uint32_t memberOffset;  // byte offset inside the in-memory record
    std::uint32_t wireOffset;    // byte offset inside the encoded record
    std::uint32_t width;         // bytes on the wire
    const char* name;
};

class CFieldDescriptor {
public:
    using EncodeFn = void (*)(const void* record, std::uint8_t* dest);
    using DecodeFn = void (*)(void* record, const std::uint8_t* src);

    constexpr CFieldDescriptor(std::uint16_t fieldId, const char* recordName, std::uint32_t wireLength,
                               std::uint32_t recordSize, std::span<const CMemberEntry> members,
                               EncodeFn encode, DecodeFn decode)
        : m_FieldID(fieldId), m_recordName(recordName), m_wireLength(wireLength),
          m_recordSize(recordSize), m_members(members), m_encode(encode), m_decode(decode) {}

    std::uint16_t GetFieldID() const { return m_FieldID; }
    // The record's size on the wire; 0 for the variable-length descriptor, whose fields may have
    // any size.
    std::uint32_t GetWireLength() const { return m_wireLength; }
    std::uint32_t GetRecordSize() const { return m_recordSize; }
    const char* GetRecordName() const { return m_recordName; }
    std::span<const CMemberEntry> GetMembers() const { return m_members; }

    // Writes GetWireLength() bytes at dest.
    void Encode(const void* record, std::uint8_t* dest) const { m_encode(record, dest); }
    // Reads GetWireLength() bytes from src into the record's members and terminates each text.
    // Alignment gaps and memory-only members keep their value.
    void Decode(void* record, const std::uint8_t* src) const { m_decode(record, src); }

private:
    std::uint16_t m_FieldID;
    const char* m_recordName;
    std::uint32_t m_wireLength;
    std::uint32_t m_recordSize;
    std::span<const CMemberEntry> m_members;
    EncodeFn m_encode;
    DecodeFn m_decode;
};

}  // namespace quorex
