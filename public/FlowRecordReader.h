// CFlowRecordReader: reads the records of a flow's content file (layout in Flow.h) front to back
// through one buffer, straight from the file: a whole flow costs one read per 64 KiB rather than
// one per record, and nothing is created or changed on disk. Used to check a flow before it is
// reopened and to look into a flow that no CFlow holds open.
//
// Thread contract: one thread at a time. Ownership: owns its descriptor and buffer.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

namespace quorex {

class CFlowRecordReader {
public:
    enum class EStep {
        kRecord,  // a whole record: Length(), Time(), and Data() when asked for
        kEnd,     // the file ends after the last whole record
        kTorn,    // the last record is cut short: TornEnd() is where it claims to end
        kError,   // the file could not be read: Error() holds errno
    };

    // Opens the file; a file that does not exist reads as an empty flow (Missing()).
    explicit CFlowRecordReader(const std::string& contentFile);
    CFlowRecordReader(const CFlowRecordReader&) = delete;
    CFlowRecordReader& operator=(const CFlowRecordReader&) = delete;
    ~CFlowRecordReader();

    bool Missing() const { return m_missing; }
    int Error() const { return m_error; }
    std::uint64_t Size() const { return m_size; }

    // Steps to the next record. Its data is read only when withData is set. A record that claims
    // more than maxLength bytes is returned as kRecord without data, wherever it would end, for
    // the caller to judge; the walk ends after it.
    EStep Next(bool withData, std::uint32_t maxLength);
    // The record Next returned: its length, time, and data (valid until the next call).
    std::uint32_t Length() const { return m_header[0]; }
    std::uint32_t Time() const { return m_header[1]; }
    std::span<const std::uint8_t> Data() const { return m_data; }
    // Where the current record starts; after kEnd or kTorn, the end of the whole records.
    std::uint64_t Offset() const { return m_offset; }
    std::uint64_t TornEnd() const { return m_tornEnd; }

private:
    // Makes bytes [offset, offset + length) of the file available in the buffer.
    bool Fetch(std::uint64_t offset, std::size_t length);
    const std::uint8_t* At(std::uint64_t offset) const { return m_buffer.data() + (offset - m_bufferStart); }

    int m_fd = -1;
    bool m_missing = false;
    int m_error = 0;
    std::uint64_t m_size = 0;
    std::uint64_t m_offset = 0;      // start of the current record
    std::uint64_t m_next = 0;        // start of the record after it
    std::uint64_t m_tornEnd = 0;
    std::uint32_t m_header[2] = {};
    std::span<const std::uint8_t> m_data;
    std::vector<std::uint8_t> m_buffer;
    std::uint64_t m_bufferStart = 0;
    std::size_t m_bufferFilled = 0;
};

}  // namespace quorex
