// CSequencedFlow: one sequenced flow of the exchange (a member's flow, series 2; a trader's or a
// monitor's private flow, series 3; the market flow, series 4), kept for the whole trading day.
// Each package is stored once, in wire form (56-byte XTP header, then content), numbered 1, 2, ...
// in the flow's series, so that every session reading the flow, now or after a re-login, gets the
// same bytes with the same numbers: nothing lost and nothing twice.
//
// A flow may also be kept on disk, as the kernel's flow files (each record one package in wire
// form, as CXTPFlow stores them). Append hands each package to the flow's CFlowAppender, which
// holds it until the exchange ends its pass and writes the pass's packages together; a package
// held is not handed out (LastSendableNo), so no session gets one the files do not keep. A
// write() is enough against a crash of the process (kill -9 included): the operating system keeps
// what was written; the files are not synced, since only a crash of the machine could lose more.
//
// A restart first loads what the files hold (Load, reading only); the exchange then replays its
// day, and each package the replay appends again must equal the one loaded (they are confirmed,
// not written twice), while packages beyond the loaded ones are kept in memory. Only once the
// whole day has been found sound does KeepIn open the files for appending and hold what they
// lack for the next write, so a refused start writes nothing.
//
// Storage grows in blocks of 256 KiB that never move, so a package handed out stays valid for the
// flow's lifetime. Thread contract: one thread (the exchange's). Owns its blocks and its appender.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "quorex/Records.h"
#include "sim/DayFiles.h"
#include "sim/FlowAppender.h"

namespace quorex::sim {

// A package a replay appends again differs from the one the flow's file holds.
class CFlowMismatch : public CDayFileError {
public:
    CFlowMismatch(const std::string& file, std::uint32_t sequenceNo);
    const std::string& File() const { return m_file; }
    std::uint32_t SequenceNo() const { return m_sequenceNo; }

private:
    std::string m_file;
    std::uint32_t m_sequenceNo;
};

class CSequencedFlow {
public:
    explicit CSequencedFlow(std::uint8_t series);
    CSequencedFlow(const CSequencedFlow&) = delete;
    CSequencedFlow& operator=(const CSequencedFlow&) = delete;
    ~CSequencedFlow();

    // Loads the packages of the content file's whole records up to end (see above), which become
    // unconfirmed. CDayFileError naming the file when a record is not a package of this flow with
    // the next number.
    void Load(const std::string& contentFile, std::uint64_t end);
    // Forgets the loaded packages that no Append confirmed (the files are cut back to match them).
    void DropUnconfirmed();
    // The content file's offset of package number n + 1 (the bytes of the first n records).
    std::uint64_t ContentOffset(std::uint32_t n) const;
    // Keeps the flow in these files from now on: opens them for appending through held (see
    // CFlowAppender) and holds the packages appended since Load that they do not hold yet for its
    // next write; returns how many. CDayFileError naming the file when they cannot be opened.
    std::uint32_t KeepIn(const CFlowFilePaths& files, CHeldWrites& held);
    // Stores a package: header members come from header, except SequenceSeries (the flow's),
    // SequenceNo (the next number) and ContentLength (content's size, at most 4040 bytes).
    // Returns the number given. While loaded packages are unconfirmed, the package must equal the
    // next of them (CFlowMismatch otherwise). A flow kept in files holds the package for them.
    std::uint32_t Append(const TXTPHeader& header, std::span<const std::uint8_t> content);
    // The number of the last package; 0 for an empty flow.
    std::uint32_t LastSequenceNo() const { return static_cast<std::uint32_t>(m_packages.size()); }
    // The number of the last package that may be handed out: every one, less those held for the
    // files.
    std::uint32_t LastSendableNo() const {
        return LastSequenceNo() - (m_appender != nullptr ? m_appender->HeldRecords() : 0);
    }
    // Loaded packages that no Append has confirmed yet.
    std::uint32_t Unconfirmed() const { return LastSequenceNo() - m_confirmed; }
    // The wire form of package number sequenceNo, 1 <= sequenceNo <= LastSequenceNo().
    std::span<const std::uint8_t> Package(std::uint32_t sequenceNo) const { return m_packages[sequenceNo - 1]; }
    std::uint8_t Series() const { return m_series; }
    // The content file the flow is kept in; empty for a flow in memory only.
    const std::string& FileName() const { return m_files.contentFile; }

private:
    static constexpr std::size_t kBlockSize = 256 * 1024;

    // Room for length bytes in the blocks.
    std::uint8_t* Reserve(std::size_t length);

    std::uint8_t m_series;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_blocks;
    std::size_t m_blockUsed = kBlockSize;
    std::vector<std::span<const std::uint8_t>> m_packages;
    std::uint32_t m_confirmed = 0;
    std::uint32_t m_stored = 0;  // packages the files hold, or their appender holds for them
    std::unique_ptr<CFlowAppender> m_appender;
    CFlowFilePaths m_files;
};

}  // namespace quorex::sim
