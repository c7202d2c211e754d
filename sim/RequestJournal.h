// CRequestJournal: the requests that changed (or may have changed) the trading day, in the order
// the exchange handled them, kept in the kernel's flow files so that a restart can handle them
// again. Each record is one entry:
//
//   0      1          9      12          16
//   +------+----------+------+-----------+--------------------------------------+
//   | role | HH:MM:SS | 0 0 0| user      | the request in wire form (XTP header  |
//   | T/M  | time     |      | (index)   | and content)                          |
//   +------+----------+------+-----------+--------------------------------------+
//
// role 'T' for a trader, 'M' for a monitor user; user is the index of the trader or monitor user
// in the day's configuration (host byte order); the time is the time of day the exchange wrote
// into whatever the request produced. An entry is written before its request is handled.
//
// Thread contract: one thread (the exchange's). Owns its files.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "public/Flow.h"
#include "public/XTPPackage.h"
#include "sim/DayFiles.h"
#include "sim/ExchangeState.h"

namespace quorex::sim {

struct CJournalEntry {
    Role role = Role::kNone;
    std::uint32_t user = 0;
    char time[9] = {};
    const CXTPPackage* request = nullptr;  // parsed; valid during the call
};

class CRequestJournal {
public:
    // Opens the journal kept in files (CDayFileError naming the file when they cannot be opened).
    explicit CRequestJournal(const CFlowFilePaths& files);

    // Hands every stored entry to apply, in order, with its number (from 0). CDayFileError naming
    // the file for an entry that is not one the exchange wrote; apply may throw it too.
    void Replay(const std::function<void(std::uint32_t number, const CJournalEntry&)>& apply);
    // Stores an entry (the request in wire form, as parsed). A failed write ends the process.
    void Append(Role role, int user, const char (&time)[9], const CXTPPackage& request);
    std::uint32_t Count() const { return m_flow.Count(); }
    const std::string& FileName() const { return m_files.contentFile; }

private:
    static constexpr std::size_t kEntryHeaderLength = 16;

    CFlowFilePaths m_files;
    CFlow m_flow;
    std::vector<std::uint8_t> m_record;  // reused for every entry
};

}  // namespace quorex::sim
