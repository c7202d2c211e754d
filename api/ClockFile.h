// CClockFile: the trade date of the logged-in user, kept in an 18-byte file ("T_CLOCK%s.dat" or
// "A_CLOCK%s.dat"): the date as 8 characters and a zero, then 9 zero bytes. A missing file is
// created with 18 zero bytes (an empty date); a file that can be neither opened nor created leaves
// the date in memory only. Open and SetTradeDate run on one thread at a time (the login call, then
// the reactor thread); TradeDate may be called from any thread.
#pragma once

#include <cstdio>
#include <mutex>
#include <string>

namespace quorex {

class CClockFile {
public:
    static constexpr std::size_t kRecordLength = 18;
    static constexpr std::size_t kDateLength = 8;

    CClockFile() = default;
    CClockFile(const CClockFile&) = delete;
    CClockFile& operator=(const CClockFile&) = delete;
    ~CClockFile();

    // Opens (or creates) the file and reads the date; a short or damaged file reads as far as it
    // goes, and the date is always a terminated text of at most 8 characters.
    void Open(const std::string& path);
    // The date as a terminated text of at most 8 characters.
    std::string TradeDate() const;
    // Stores a new date and rewrites the file from its start.
    void SetTradeDate(const char* date);

private:
    std::FILE* m_file = nullptr;
    mutable std::mutex m_mutex;  // guards m_record against readers on other threads
    char m_record[kRecordLength] = {};
};

}  // namespace quorex
