// CReceivedLog: the day's received packages of the member, private and market flows, kept in
// "log%s.id"/"log%s.con" (a flow, see public/Flow.h) so that a second login of the same trading day
// can replay them. Each record is
//
//   0              56                56 + n    56 + n + 8
//   +--------------+-----------------+---------+
//   | XTP header   | content, n bytes| origin  |
//   +--------------+-----------------+---------+
//
//   XTP header: as received (Tid, Chain, RootID, sender and jump fields, TimeMark), stored with
//               SequenceSeries 1, the log's own number (1, 2, ...) and ContentLength n;
//   origin:     'Q' 'X' series 0, then the SequenceNo the package had in its series (big-endian),
//               so that the sync points can be set from what the log holds (see Inspect).
// Records of earlier versions have no origin; they replay all the same.
//
// Appends may be grouped (see GroupAppends) and written out by Flush, which the API calls at the end
// of each reactor pass, so a burst of packages costs a write per stdio buffer, not one each.
// A kill at any byte of an append leaves a torn last record, which Open cuts (and reports through
// the log sink): that package was never stored, and since the next login sets the sync points from
// what the log holds, the exchange sends it again. Any other damage stops Open with CRuntimeError.
//
// Used on the reactor thread, except Inspect, which touches no open file and may run on any thread.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "public/Flow.h"
#include "public/FlowRepair.h"
#include "public/XTPPackage.h"

namespace quorex {

// The package a stored record holds, and the series and number it was received with (series 0
// for a record without its origin, which is then the package as a whole).
struct TLoggedPackage {
    std::span<const std::uint8_t> package;
    std::uint8_t series = 0;
    std::uint32_t sequenceNo = 0;
};
TLoggedPackage SplitLoggedRecord(std::span<const std::uint8_t> record);

// What a user's log holds, read without changing it.
struct TReceivedLogState {
    TFlowCheck files;                 // the two files as a whole
    std::uint32_t brokenRecord = 0;   // the first record (from 1) that is not a whole package; 0: none
    bool withOrigins = true;          // every record says where its package came from
    // By series (2 member, 3 private, 4 market): the SequenceNo of its last logged package, 0 for
    // none. Meaningful when Usable() and withOrigins.
    std::array<std::uint32_t, 5> lastSequenceNo{};

    bool Usable() const { return !files.Damaged() && brokenRecord == 0; }
};

class CReceivedLog {
public:
    // Reads the user's log front to back, changing nothing.
    static TReceivedLogState Inspect(const char* userId);
    static std::string IdFileName(const char* userId);
    static std::string ContentFileName(const char* userId);
    // One line on the damage of an unusable log, naming the file and what to remove.
    static std::string DescribeDamage(const char* userId, const TReceivedLogState& state);

    // Opens the user's log. keep=false starts it afresh; keep=true keeps what it holds (same trading
    // day), after cutting a torn last record. CRuntimeError when the files cannot be opened or the
    // log is damaged otherwise (the damage is reported through the log sink first).
    void Open(const char* userId, bool keep);
    bool IsOpen() const { return m_flow != nullptr; }
    std::uint32_t Count() const { return m_flow != nullptr ? m_flow->Count() : 0; }
    // Stores a received sequenced package: its header and content as received, and its origin.
    void Append(const CXTPPackage& received);
    // Grouped appends (see CFlow::GroupAppends) wait in the buffer for Flush; the API groups them
    // when the next login sets the sync points from the log.
    void GroupAppends(bool grouped) {
        if (m_flow != nullptr) m_flow->GroupAppends(grouped);
    }
    // Writes the appended packages still buffered. CRuntimeError when they cannot be written.
    void Flush() {
        if (m_flow != nullptr) m_flow->Flush();
    }
    // Restores every stored package in order and hands it to deliver. CDesignError
    // "不是一个完整的交易请求包" for a stored record that does not parse as a complete package.
    template <class Deliver>
    void Replay(Deliver deliver);

private:
    void ReadNext(std::uint32_t& offset, CXTPPackage& package);

    std::unique_ptr<CFlow> m_flow;
    std::vector<std::uint8_t> m_record;  // the record being appended
};

template <class Deliver>
void CReceivedLog::Replay(Deliver deliver) {
    if (m_flow == nullptr) return;
    CXTPPackage package;
    std::uint32_t offset = 0;
    for (std::uint32_t n = m_flow->Count(); n > 0; --n) {
        ReadNext(offset, package);
        deliver(package);
    }
}

}  // namespace quorex
