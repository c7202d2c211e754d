// CFlowAppender: appends records to the two files of one of the day's flows (or of the request
// journal) in the kernel's flow format (see public/Flow.h): the records are held in memory as
// they come (Hold) and written together (Write), so that a reactor pass costs one write per file
// however many records it made.
//
// What a kill between or inside those writes may leave is what a start repairs: a torn last
// record, or a missing last id entry. So the content is written in one piece unless the held
// records complete more than one hundredth record; then it goes in pieces that each complete one,
// and each piece is followed by its id entry, exactly as one append at a time would leave them.
//
// CHeldWrites is the list of appenders that hold records, in the order they took their first,
// except that the journal goes first: a flow's package is never on disk before the journal entry
// of the request that made it.
//
// Thread contract: one thread (the exchange's). A CFlowAppender owns its file descriptors and the
// bytes it holds; the CHeldWrites it reports to is borrowed and must outlive it.
#pragma once

#include <unistd.h>

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "sim/DayFiles.h"

namespace quorex::sim {

class CFlowAppender;

class CHeldWrites {
public:
    // The system call every appender writes with; a test may watch or cut the writes.
    using WriteCall = ssize_t (*)(int fd, const void* bytes, std::size_t length);

    explicit CHeldWrites(WriteCall write = &::write) : m_write(write) { m_appenders.reserve(16); }
    // The appender took its first record since it was last written.
    void Add(CFlowAppender& appender, bool first);
    bool Any() const { return !m_appenders.empty(); }
    // Writes every appender's records (see above); returns the write calls made, none when
    // nothing is held.
    std::uint32_t Write();
    // Write calls made so far.
    std::uint64_t Writes() const { return m_writes; }
    WriteCall Call() const { return m_write; }

private:
    WriteCall m_write;
    std::vector<CFlowAppender*> m_appenders;
    std::uint64_t m_writes = 0;
};

class CFlowAppender {
public:
    // Opens the files for appending, checking that they hold records records of contentBytes bytes
    // (and their id entries), which is what the start found and repaired. CDayFileError naming the
    // file otherwise, or when it cannot be opened. first: the appender is written before all others
    // (the journal's).
    CFlowAppender(const CFlowFilePaths& files, std::uint32_t records, std::uint64_t contentBytes, CHeldWrites& held,
                  bool first = false);
    CFlowAppender(const CFlowAppender&) = delete;
    CFlowAppender& operator=(const CFlowAppender&) = delete;
    ~CFlowAppender();

    // Adds one record, stamped with the current time, to those held for the next write. A flow
    // that would pass the 4 GiB its id file can index ends the process (StopOnLostWrite).
    void Hold(std::span<const std::uint8_t> record);
    std::uint32_t HeldRecords() const { return m_heldRecords; }
    // Writes what is held; returns the write calls made. A failed write ends the process
    // (StopOnLostWrite), leaving what a kill leaves.
    std::uint32_t Write();
    const std::string& FileName() const { return m_files.contentFile; }

private:
    // Where a held hundredth record starts among the held bytes, and its id entry (the content
    // offset after it).
    struct CIndexEntry {
        std::size_t recordStart;
        std::uint32_t offset;
    };

    std::uint32_t WriteWhole(int fd, const std::string& file, const std::uint8_t* bytes, std::size_t length);

    CFlowFilePaths m_files;
    CHeldWrites& m_heldWrites;
    const bool m_first;
    int m_idFd = -1;
    int m_contentFd = -1;
    std::uint32_t m_records;       // held ones included
    std::uint64_t m_contentBytes;  // held ones included
    std::uint32_t m_heldRecords = 0;
    std::vector<std::uint8_t> m_held;  // the held records as the content file keeps them
    std::vector<CIndexEntry> m_entries;
};

}  // namespace quorex::sim
