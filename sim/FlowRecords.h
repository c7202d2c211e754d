// CFlowRecords: the whole records of a flow's content file (see public/Flow.h for the layout),
// read front to back without changing the file: a start loads its day this way before it decides
// whether anything on disk may be changed. It reads up to a given end, the end of the last whole
// record that CheckFlowFiles found, so a torn record after it is never read.
//
// Thread contract: one thread. Ownership: owns its open file; a record's data stays valid until
// the next call of Next.
#pragma once

#include <cstdint>
#include <cstdio>
#include <span>
#include <string>
#include <vector>

namespace quorex::sim {

class CFlowRecords {
public:
    // Opens the content file for reading (a missing file is an empty flow when end is 0).
    // CDayFileError naming the file and the cause when it cannot be opened.
    CFlowRecords(std::string contentFile, std::uint64_t end, std::uint32_t maxRecordLength);
    CFlowRecords(const CFlowRecords&) = delete;
    CFlowRecords& operator=(const CFlowRecords&) = delete;
    ~CFlowRecords();

    // Reads the next record; false at the end. CDayFileError when the file cannot be read or no
    // longer holds what the check found (another program changed it meanwhile).
    bool Next();
    std::span<const std::uint8_t> Data() const { return m_data; }
    // The number of the record read last, from 0, and the offset of its 8-byte header.
    std::uint32_t Number() const { return m_number - 1; }
    std::uint64_t Offset() const { return m_offset; }

private:
    std::string m_path;
    std::FILE* m_file = nullptr;
    std::uint64_t m_end;
    std::uint32_t m_maxRecordLength;
    std::uint64_t m_offset = 0;
    std::uint64_t m_next = 0;
    std::uint32_t m_number = 0;
    std::vector<std::uint8_t> m_data;
};

}  // namespace quorex::sim
