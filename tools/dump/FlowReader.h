// CFlowReader: reads a flow file pair (the content file and its id file, as CFlow writes them)
// record by record, read-only, checking every length and every index entry against the files
// before trusting it. Damage is reported as CDumpError naming the file and the byte position;
// memory use is one package-sized buffer whatever the files claim.
//
// Thread contract: one thread at a time. Ownership: the reader owns its two open files; the data
// of a record stays valid until the next call of Next.
#pragma once

#include <array>
#include <cstdint>
#include <cstdio>
#include <span>
#include <stdexcept>
#include <string>

#include "public/XTPPackage.h"

namespace quorex::dump {

// A file that cannot be read or does not hold what a flow holds.
class CDumpError : public std::runtime_error {
public:
    CDumpError(const std::string& file, std::uint64_t position, const std::string& problem);
    CDumpError(const std::string& file, const std::string& problem);
};

struct FlowRecord {
    std::uint32_t number = 0;  // counted from 0 in file order
    std::uint64_t offset = 0;  // of its 8-byte header in the content file
    std::uint32_t time = 0;    // seconds since 1970 UTC, as stored
    std::span<const std::uint8_t> data;
};

class CFlowReader {
public:
    // Opens both files for reading; CDumpError when either cannot be opened or the id file is not
    // a whole number of entries.
    CFlowReader(std::string idPath, std::string contentPath);
    CFlowReader(const CFlowReader&) = delete;
    CFlowReader& operator=(const CFlowReader&) = delete;
    ~CFlowReader();

    // The next record, or false at the end of the content file once the id file has been found
    // to match it. CDumpError for a truncated or oversized record and for an id entry that does
    // not point at its record.
    bool Next(FlowRecord& record);

    const std::string& ContentPath() const { return m_contentPath; }

private:
    void CheckIdEntry();
    void CheckNoEntriesLeft() const;
    std::FILE* OpenForReading(const std::string& path, std::uint64_t& size);

    std::string m_idPath;
    std::string m_contentPath;
    std::FILE* m_idFile = nullptr;
    std::FILE* m_contentFile = nullptr;
    std::uint64_t m_idSize = 0;
    std::uint64_t m_contentSize = 0;
    std::uint64_t m_offset = 0;
    std::uint32_t m_number = 0;
    // A stored package is never longer than the largest payload.
    std::array<std::uint8_t, kMaxPayloadLength> m_buffer{};
};

}  // namespace quorex::dump
