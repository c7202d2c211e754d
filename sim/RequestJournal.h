// CRequestJournal: the requests that changed (or may have changed) the trading day, in the order
// the exchange handled them, kept in the kernel's flow files so that a restart can handle them
// again. Each record is one entry (see JournalEntry.h for its layout), held for the files before
// its request is handled and written at the end of the exchange's pass, before anything the pass
// produced (see CFlowAppender); entries carry a digest of their own bytes, so that damage in the
// journal is found there.
//
// A restart reads the journal with ReplayJournal, which changes nothing on disk; the journal is
// opened for appending (CRequestJournal) only once the whole day has been found sound.
//
// Thread contract: one thread (the exchange's). Owns its files.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "public/XTPPackage.h"
#include "sim/DayFiles.h"
#include "sim/ExchangeState.h"
#include "sim/FlowAppender.h"

namespace quorex::sim {

struct CJournalEntry {
    Role role = Role::kNone;
    std::uint32_t user = 0;
    char time[9] = {};
    bool hasDigest = false;                // written by a version that adds the digest
    const CXTPPackage* request = nullptr;  // parsed; valid during the call
};

// Hands every entry of the journal's whole records up to end to apply, in order, with its number
// (from 0). CDayFileError naming the file, the entry and its offset for an entry that is not one
// the exchange wrote; apply may throw too.
void ReplayJournal(const std::string& contentFile, std::uint64_t end,
                   const std::function<void(std::uint32_t number, const CJournalEntry&)>& apply);

class CRequestJournal {
public:
    // Opens the journal kept in files for appending through held, written before every flow; the
    // files hold entries entries of contentBytes bytes (CDayFileError naming the file when they do
    // not, or cannot be opened).
    CRequestJournal(const CFlowFilePaths& files, std::uint32_t entries, std::uint64_t contentBytes, CHeldWrites& held);

    // Holds an entry (the request in wire form, as parsed) for the next write.
    void Append(Role role, int user, const char (&time)[9], const CXTPPackage& request);

private:
    CFlowAppender m_appender;
    std::vector<std::uint8_t> m_record;  // reused for every entry
};

}  // namespace quorex::sim
