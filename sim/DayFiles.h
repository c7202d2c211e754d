// CDayFiles: the folder in which the exchange keeps one trading day, so that a restart on the same
// trade date carries on with the same day. It holds "day.txt" (the trade date and a digest of the
// configuration the day started with), the request journal and every sequenced flow, each as a
// pair of the kernel's flow files (NAME.id and NAME.con); DayFlowFiles.h checks and repairs those.
//
// Opening a folder that holds a day only reads it: a start that is refused leaves every file as it
// was. Only a new day writes its day file, whole (ReplaceFile), before any flow file exists, so a
// folder with flow files always has its day file.
//
// Thread contract: one thread. Ownership: holds the folder's lock (flock on the folder itself, so
// that a second simulator stays out and a kill -9 releases it) for its lifetime.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <string_view>

#include "sim/TradingDay.h"

namespace quorex::sim {

// A day's files are damaged, belong to another day, or cannot be used; the message names the file
// and what to do about it.
class CDayFileError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// What to do about damage no interrupted write leaves behind.
inline constexpr std::string_view kDamagedDayRemedy =
    "restore the day's folder from a backup, or remove the folder to start the day afresh (clients should then drop "
    "their files of that day)";

// Reports a failed write to a day's file on standard error and ends the process at once: going on
// would tell clients what the day's files do not keep. The files are left as a kill -9 leaves
// them, which a restart repairs.
[[noreturn]] void StopOnLostWrite(const std::string& file, const char* why);

// CDayFileError when path exists and is not a regular file (a folder, a pipe): reading it would
// fail, or wait for a writer that never comes.
void RequireRegularFile(const std::string& path);

struct CFlowFilePaths {
    std::string idFile;
    std::string contentFile;
};

class CDayFiles {
public:
    // Longest record any of the day's flows holds: a package of at most 4096 bytes plus the
    // journal's entry header and digest.
    static constexpr std::uint32_t kMaxRecordLength = 4096 + 64;

    // Opens the day's folder, creating it and its day file for a new day, and checks that it
    // belongs to this trade date and configuration. CDayFileError otherwise, or when another
    // simulator uses it.
    CDayFiles(std::filesystem::path folder, const CTradingDay& day);
    CDayFiles(const CDayFiles&) = delete;
    CDayFiles& operator=(const CDayFiles&) = delete;
    ~CDayFiles();

    // The files of the flow called name (a code that is not a plain word is escaped).
    CFlowFilePaths Paths(std::string_view name) const;
    // Whether the folder held a day before this run.
    bool Resumed() const { return m_resumed; }

    // A file name part for a code: letters, digits, '-' and '_' as they are, other bytes as %XX.
    static std::string EscapedName(std::string_view code);

private:
    void Lock();
    void CheckDayFile(const CTradingDay& day);
    void StartNewDay(const CTradingDay& day);

    std::filesystem::path m_folder;
    int m_folderLock = -1;
    int m_legacyLock = -1;  // the "lock" file earlier versions locked, when the folder has one
    bool m_resumed = false;
};

}  // namespace quorex::sim
