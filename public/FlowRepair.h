// Checking a flow's two files (see Flow.h for their layout) before they are reopened, and cutting
// away what an interrupted append leaves behind.
//
// CFlow::Append writes a record's header and data, flushes, and after every hundredth record
// appends the id entry. A process killed in the middle (kill -9, a crash of the program) can leave
// a torn last record (stdio may split one record's write), or an id file that lacks its last entry
// or holds part of it. Such a record was never whole on disk, so nobody read it back, and cutting
// it loses nothing. Every other state (a record that claims more bytes than a record of the flow
// may hold, an id entry that does not index the content, several entries missing) is not what an
// interruption leaves: it is damage, which the check reports and nothing repairs.
//
// Checking and repairing are apart, so that a caller can check several flows and change nothing
// when any of them is damaged. Thread contract: none; the functions stand alone.
#pragma once

#include <cstdint>
#include <string>

namespace quorex {

struct TFlowCheck {
    enum class EDamage {
        kNone,
        kUnreadable,        // a file cannot be opened or read; osError holds errno
        kContentMissing,    // the id file indexes records, but there is no content file
        kRecordTooLong,     // record number `record` claims `length` bytes
        kIdEntryWrong,      // id entry number `record` (from 1) does not index the content file
        kIdEntriesMissing,  // the id file lacks `record` entries
    };

    EDamage damage = EDamage::kNone;
    int osError = 0;
    std::uint32_t record = 0;
    std::uint32_t length = 0;

    std::uint32_t records = 0;       // whole records in the content file
    std::uint64_t contentSize = 0;   // bytes the content file holds now
    std::uint64_t contentKeep = 0;   // bytes of whole records: the torn last one is cut after them
    std::uint64_t idSize = 0;        // bytes the id file holds now
    std::uint64_t idKeep = 0;        // bytes of its entries that index whole records
    bool addIdEntry = false;         // the last entry is missing and is appended
    std::uint32_t idEntry = 0;       // its value

    bool Damaged() const { return damage != EDamage::kNone; }
    bool NeedsRepair() const { return !Damaged() && (contentKeep != contentSize || idKeep != idSize || addIdEntry); }
    // Bytes of a torn last record that the repair cuts.
    std::uint64_t TornBytes() const { return contentSize - contentKeep; }
};

// Reads both files from end to end. Missing files are an empty flow. maxRecordLength is the
// longest record the flow's writer ever stores.
TFlowCheck CheckFlowFiles(const std::string& idFile, const std::string& contentFile, std::uint32_t maxRecordLength);

// Makes the repairs a check without damage planned; true when there were none or all were made,
// false (errno set) when a file could not be changed.
bool RepairFlowFiles(const std::string& idFile, const std::string& contentFile, const TFlowCheck& check);

}  // namespace quorex
