// CFlow: an append-only, numbered log of byte records kept in two files.
//
// Content file: the records back to back, each
//
//   0          4          8
//   +----------+----------+------------------+
//   | length n | time     | n bytes of data  |   host byte order; time in seconds since 1970 UTC
//   +----------+----------+------------------+
//
// Id file: 32-bit content offsets of records 100, 200, 300, ... (the offset of record 0 is 0 and
// is not stored), so that any record is found with one index lookup and at most 99 short reads.
//
// Both files come from disk and are treated as untrusted on reopening: an id file that is torn,
// out of order or points past the content, or a content file whose last records do not add up,
// raises CRuntimeError "Invalid CFlow m_fpIdFile" before anything is allocated from the damaged
// values. Offsets are 32-bit in the id file, so a flow never grows past 4 GiB of content.
//
// Thread contract: one thread at a time; no locks. Ownership: the flow owns its two files and its
// index; observers are borrowed and must outlive their subscription.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <span>
#include <vector>

namespace quorex {

class CFlow;

// Told about every record appended to a flow it subscribed to, and about every (re)opening.
// Notifications come after the flow has stored the record and updated its count, so Count() - 1
// is the new record's number.
class CFlowObserver {
public:
    virtual ~CFlowObserver() = default;
    virtual void OnFlowAppend(const CFlow& flow, std::span<const std::uint8_t> record, std::uint32_t time) = 0;
    virtual void OnFlowOpen(const CFlow& flow) = 0;
};

class CFlow {
public:
    static constexpr std::uint32_t kIndexStep = 100;
    static constexpr std::uint32_t kRecordHeaderLength = 8;

    // A closed flow; Open it before use.
    CFlow() = default;
    // Opens the flow when both names are given (see Open).
    CFlow(const char* idFileName, const char* contentFileName, bool reuse);
    CFlow(const CFlow&) = delete;
    CFlow& operator=(const CFlow&) = delete;
    virtual ~CFlow();

    // Closes any open files and opens the pair again: with reuse the stored records are kept and
    // checked, without it both files are created empty. Then every observer is told. Raises
    // CRuntimeError for an empty name, a file that cannot be opened or inconsistent files; the
    // flow is closed after a failure.
    void Open(const char* idFileName, const char* contentFileName, bool reuse);

    // Stores one record of data.size() bytes with the given time (0: the current time), then tells
    // every observer. CRuntimeError when a file cannot be written, when the flow is not open, when
    // an earlier write failed (the files need reopening), or when the content would pass 4 GiB.
    virtual void Append(std::span<const std::uint8_t> data, std::uint32_t time);
    // Grouped appends: Append leaves the record in the content stream's buffer, which stdio writes
    // out when it fills, and Flush writes the rest, so a run of appends costs a write per buffer
    // rather than one each. An id entry is written only after the content it indexes.
    void GroupAppends(bool grouped) { m_grouped = grouped; }
    // Writes the appended records still buffered. CRuntimeError when they cannot be written (the
    // flow then refuses appends until it is reopened).
    void Flush();
    virtual std::uint32_t Count() const { return m_count; }
    // Content-file offset of record number; Locate(Count()) is the offset the next record gets.
    // CRuntimeError "Can not read id file for CFlow" for a number above Count() or a record chain
    // that leaves the content file.
    virtual std::uint32_t Locate(std::uint32_t recordNumber);
    // Reads the record at offset into buffer and returns its length, and its time when asked.
    // CRuntimeError when it cannot be read or is longer than the buffer.
    virtual std::uint32_t Read(std::uint32_t offset, std::span<std::uint8_t> buffer, std::uint32_t* time = nullptr);

    // Adds an observer (the same one may be added twice) and returns the number of subscriptions.
    int Subscribe(CFlowObserver* observer);
    // Removes every subscription of the observer.
    void Unsubscribe(CFlowObserver* observer);

    bool IsOpen() const { return m_contentFile != nullptr; }
    std::uint32_t ContentSize() const { return static_cast<std::uint32_t>(m_contentSize); }

protected:
    // Runs at the end of every successful Open, before the observers are told.
    virtual void OnOpened() {}

private:
    void OpenReused();
    void LoadIndex();
    std::uint32_t WalkLastSegment();
    void CloseFiles();
    [[noreturn]] void FailOpen(const char* text, int line);
    void WriteIdEntry();
    bool ReadAt(std::uint64_t offset, void* dest, std::size_t length);

    std::FILE* m_idFile = nullptr;
    std::FILE* m_contentFile = nullptr;
    std::uint32_t m_count = 0;
    std::uint64_t m_contentSize = 0;
    // m_index[k] is the content offset of record 100 * k; m_index[0] = 0.
    std::vector<std::uint32_t> m_index;
    std::vector<CFlowObserver*> m_observers;
    // Set when a write failed part-way: the files no longer match the count, so further appends
    // are refused rather than stacked onto a damaged tail with index entries that would be wrong.
    bool m_writeFailed = false;
    bool m_grouped = false;
    // Whether the content file's position may have left its end since the last append.
    bool m_readSinceAppend = true;
    // Where the content file stands after the last read, when known; saves a seek per record.
    static constexpr std::uint64_t kUnknownPosition = ~std::uint64_t{0};
    std::uint64_t m_readPosition = kUnknownPosition;
};

}  // namespace quorex
