// CDayFiles: the folder in which the exchange keeps one trading day, so that a restart on the same
// trade date carries on with the same day. It holds "day.txt" (the trade date and a digest of the
// configuration the day started with), the request journal and every sequenced flow, each as a
// pair of the kernel's flow files (NAME.id and NAME.con), and a lock file that keeps a second
// simulator out of the folder while one runs.
//
// Before a flow is reopened its files are checked from end to end. The one damage that is repaired
// is what an interrupted write leaves behind (a kill -9, a power cut): a torn last record, or a
// missing or torn last entry of the id file. Such a record was never complete on disk, so it was
// never handed to a client (a package is appended before it is sent; a request is journaled before
// it is handled), and cutting it loses nothing anybody was told. Anything else (a record that
// claims an impossible length, an id file that does not index its content) is refused with
// CDayFileError naming the file.
//
// Thread contract: one thread. Ownership: owns the folder's lock for its lifetime.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "sim/TradingDay.h"

namespace quorex::sim {

// A day's files are damaged, belong to another day, or cannot be used; the message names the file.
class CDayFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reports a failed write to a day's file on standard error and ends the process at once: going on
// would tell clients what the day's files do not keep. The files are left as a kill -9 leaves
// them, which a restart repairs.
[[noreturn]] void StopOnLostWrite(const std::string& file, const char* why);

struct CFlowFilePaths {
    std::string idFile;
    std::string contentFile;
};

class CDayFiles {
public:
    // Longest record any of the day's flows holds: a package of at most 4096 bytes plus the
    // journal's entry header.
    static constexpr std::uint32_t kMaxRecordLength = 4096 + 64;

    // Opens the day's folder, creating it for a new day, and checks that it belongs to this trade
    // date and configuration. CDayFileError otherwise, or when another simulator uses it.
    CDayFiles(std::filesystem::path folder, const CTradingDay& day);
    CDayFiles(const CDayFiles&) = delete;
    CDayFiles& operator=(const CDayFiles&) = delete;
    ~CDayFiles();

    // The files of the flow called name (a code that is not a plain word is escaped), checked and
    // repaired as described above, ready for CFlow to reopen.
    CFlowFilePaths Flow(std::string_view name);
    // One line for each repair made, naming the file.
    const std::vector<std::string>& Repairs() const { return m_repairs; }
    // Whether the folder held a day before this run.
    bool Resumed() const { return m_resumed; }
    const std::filesystem::path& Folder() const { return m_folder; }

    // A file name part for a code: letters, digits, '-' and '_' as they are, other bytes as %XX.
    static std::string EscapedName(std::string_view code);

private:
    void CheckDayFile(const CTradingDay& day);
    void RepairFlow(const CFlowFilePaths& paths);

    std::filesystem::path m_folder;
    int m_lock = -1;
    bool m_resumed = false;
    std::vector<std::string> m_repairs;
};

}  // namespace quorex::sim
