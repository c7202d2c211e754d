#include "sim/DayFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include "common/AtomicFile.h"

namespace quorex::sim {
namespace fs = std::filesystem;
namespace {

constexpr const char* kDayFileName = "day.txt";
constexpr std::string_view kDayFileTitle = "exchange-sim trading day\n";
// Left by an interrupted start of a new day, or locked by earlier versions; neither holds a day.
constexpr const char* kHarmlessNames[] = {"lock", "day.txt.tmp", "day.txt.new"};
constexpr std::string_view kOtherFolderRemedy = "remove the folder to start the day afresh, or give another --data-dir";

std::string DayFileText(const CTradingDay& day) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016" PRIx64, day.configurationDigest);
    return std::string(kDayFileTitle) + "trade_date = " + day.tradeDate + "\nconfiguration = " + digest + "\n";
}

// The value of a "key = value" line at the front of text, which then starts after the line.
std::optional<std::string_view> TakeLine(std::string_view& text, std::string_view key) {
    const std::size_t end = text.find('\n');
    if (!text.starts_with(key) || end == std::string_view::npos) return std::nullopt;
    const std::string_view value = text.substr(key.size(), end - key.size());
    text.remove_prefix(end + 1);
    return value;
}

// The trade date a day file names, or nothing when the text is not a day file.
std::optional<std::string> DayFileDate(std::string_view text) {
    if (!text.starts_with(kDayFileTitle)) return std::nullopt;
    text.remove_prefix(kDayFileTitle.size());
    const std::optional<std::string_view> date = TakeLine(text, "trade_date = ");
    if (!date || !TakeLine(text, "configuration = ") || !text.empty()) return std::nullopt;
    return std::string(*date);
}

}  // namespace

void StopOnLostWrite(const std::string& file, const char* why) {
    std::fprintf(stderr,
                 "exchange-sim: cannot write %s (%s); stopping, so that no client is told what the day's files do "
                 "not keep (a restart carries on from what they hold)\n",
                 file.c_str(), why);
    std::_Exit(3);
}

void RequireRegularFile(const std::string& path) {
    std::error_code failure;
    const fs::file_status status = fs::status(path, failure);
    if (!fs::exists(status) || fs::is_regular_file(status)) return;
    throw CDayFileError(path + ": is not a regular file; move it out of the day's folder");
}

CDayFiles::CDayFiles(fs::path folder, const CTradingDay& day) : m_folder(std::move(folder)) {
    std::error_code failure;
    const bool created = fs::create_directories(m_folder, failure);
    if (failure || !fs::is_directory(m_folder)) {
        throw CDayFileError(m_folder.string() + ": cannot be used as the day's folder" +
                            (failure ? ": " + failure.message() : ": it is not a folder") + "; give another --data-dir");
    }
    try {
        Lock();
        CheckDayFile(day);
    } catch (...) {
        if (m_legacyLock >= 0) ::close(m_legacyLock);
        if (m_folderLock >= 0) ::close(m_folderLock);
        // A refused start leaves no folder it made itself.
        if (created) fs::remove(m_folder, failure);
        throw;
    }
}

CDayFiles::~CDayFiles() {
    if (m_legacyLock >= 0) ::close(m_legacyLock);
    ::close(m_folderLock);
}

void CDayFiles::Lock() {
    const std::string folder = m_folder.string();
    m_folderLock = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_folderLock < 0) throw CDayFileError(folder + ": cannot be opened: " + std::strerror(errno) + "; give another --data-dir");
    const auto take = [&](int fd) {
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return;
        if (errno == EWOULDBLOCK) throw CDayFileError(folder + ": in use by another exchange-sim; stop it first, or give another --data-dir");
        throw CDayFileError(folder + ": cannot be locked: " + std::strerror(errno));
    };
    take(m_folderLock);
    // The lock goes with the process, also on a kill -9, so a restart never finds it taken.
    m_legacyLock = ::open((m_folder / "lock").c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK);
    if (m_legacyLock >= 0) take(m_legacyLock);
}

void CDayFiles::CheckDayFile(const CTradingDay& day) {
    const std::string dayFile = (m_folder / kDayFileName).string();
    std::error_code failure;
    if (!fs::exists(fs::symlink_status(dayFile, failure))) return StartNewDay(day);
    RequireRegularFile(dayFile);
    const std::optional<std::string> found = files::ReadWholeFile(dayFile);
    if (!found) {
        throw CDayFileError(dayFile + ": cannot be read: " + std::strerror(errno) + "; make it readable by the user running exchange-sim");
    }
    const std::optional<std::string> date = DayFileDate(*found);
    if (found->empty()) {
        throw CDayFileError(dayFile + ": is empty, where it should name the day's trade date and configuration; " +
                            std::string(kOtherFolderRemedy));
    }
    if (!date) {
        throw CDayFileError(dayFile + ": is not a day file of exchange-sim (it should begin \"exchange-sim trading day\"); " +
                            std::string(kOtherFolderRemedy));
    }
    if (*date != day.tradeDate) {
        throw CDayFileError(dayFile + ": the folder keeps the day of " + *date + ", not of " + day.tradeDate +
                            "; give another --data-dir, or start with --trade-date " + *date + " to carry on with that day");
    }
    if (*found != DayFileText(day)) {
        throw CDayFileError(dayFile + ": the day was started with another configuration; start it with that one, or give "
                            "another --data-dir");
    }
    m_resumed = true;
}

void CDayFiles::StartNewDay(const CTradingDay& day) {
    const std::string dayFile = (m_folder / kDayFileName).string();
    std::error_code failure;
    for (fs::directory_iterator entry(m_folder, failure), end; !failure && entry != end; entry.increment(failure)) {
        const std::string name = entry->path().filename().string();
        if (std::find(std::begin(kHarmlessNames), std::end(kHarmlessNames), name) != std::end(kHarmlessNames)) continue;
        throw CDayFileError(dayFile + ": missing, though the folder holds files (" + name +
                            "); they belong to no known day: " + std::string(kOtherFolderRemedy));
    }
    if (failure) throw CDayFileError(m_folder.string() + ": cannot be listed: " + failure.message() + "; give another --data-dir");
    if (!files::ReplaceFile(dayFile, DayFileText(day))) {
        throw CDayFileError(dayFile + ": cannot be written: " + std::strerror(errno) + "; make the folder writable, or give "
                            "another --data-dir");
    }
}

std::string CDayFiles::EscapedName(std::string_view code) {
    std::string name;
    for (const char c : code) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == '_';
        if (plain) {
            name += c;
        } else {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", static_cast<unsigned>(static_cast<unsigned char>(c)));
            name += escaped;
        }
    }
    return name;
}

CFlowFilePaths CDayFiles::Paths(std::string_view name) const {
    const std::string base = (m_folder / EscapedName(name)).string();
    return {base + ".id", base + ".con"};
}

}  // namespace quorex::sim
