#include "sim/DayFiles.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>

#include "public/Flow.h"

namespace quorex::sim {
namespace fs = std::filesystem;
namespace {

constexpr const char* kDayFileName = "day.txt";
constexpr const char* kLockFileName = "lock";

std::string DayFileText(const CTradingDay& day) {
    char digest[17];
    std::snprintf(digest, sizeof digest, "%016" PRIx64, day.configurationDigest);
    return "exchange-sim trading day\ntrade_date = " + day.tradeDate + "\nconfiguration = " + digest + "\n";
}

std::string ReadWholeFile(const fs::path& path) {
    std::ifstream file(path, std::ios::binary);
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

// Closes a stdio file on every way out.
struct CFileCloser {
    void operator()(std::FILE* file) const { std::fclose(file); }
};
using CFile = std::unique_ptr<std::FILE, CFileCloser>;

}  // namespace

void StopOnLostWrite(const std::string& file, const char* why) {
    std::fprintf(stderr,
                 "exchange-sim: cannot write %s (%s); stopping, so that no client is told what the day's files do "
                 "not keep (a restart carries on from what they hold)\n",
                 file.c_str(), why);
    std::_Exit(3);
}

CDayFiles::CDayFiles(fs::path folder, const CTradingDay& day) : m_folder(std::move(folder)) {
    std::error_code failure;
    fs::create_directories(m_folder, failure);
    if (failure || !fs::is_directory(m_folder)) {
        throw CDayFileError(m_folder.string() + ": cannot be used as the day's folder" + (failure ? ": " + failure.message() : ""));
    }
    const std::string lockPath = (m_folder / kLockFileName).string();
    m_lock = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
    if (m_lock < 0) throw CDayFileError(lockPath + ": cannot be opened: " + std::strerror(errno));
    // The lock goes with the process, also on a kill -9, so a restart never finds it taken.
    if (::flock(m_lock, LOCK_EX | LOCK_NB) != 0) {
        ::close(m_lock);
        throw CDayFileError(m_folder.string() + ": in use by another exchange-sim");
    }
    try {
        CheckDayFile(day);
    } catch (...) {
        ::close(m_lock);
        throw;
    }
}

CDayFiles::~CDayFiles() { ::close(m_lock); }

void CDayFiles::CheckDayFile(const CTradingDay& day) {
    const fs::path dayFile = m_folder / kDayFileName;
    const std::string expected = DayFileText(day);
    if (fs::exists(dayFile)) {
        const std::string found = ReadWholeFile(dayFile);
        if (found.find("trade_date = " + day.tradeDate + "\n") == std::string::npos) {
            throw CDayFileError(dayFile.string() + ": the folder keeps another trade date than " + day.tradeDate);
        }
        if (found != expected) {
            throw CDayFileError(dayFile.string() + ": the day was started with another configuration; start it with "
                                "that one, or give another --data-dir");
        }
        m_resumed = true;
        return;
    }
    for (const fs::directory_entry& entry : fs::directory_iterator(m_folder)) {
        if (entry.path().filename() != kLockFileName) {
            throw CDayFileError(dayFile.string() + ": missing, though the folder holds files (" +
                                entry.path().filename().string() + "); they belong to no known day");
        }
    }
    // Written whole under another name and renamed, so that a crash never leaves half a day file.
    const fs::path written = m_folder / "day.txt.new";
    {
        std::ofstream file(written, std::ios::binary | std::ios::trunc);
        file << expected;
        if (!file.flush()) throw CDayFileError(written.string() + ": cannot be written");
    }
    std::error_code failure;
    fs::rename(written, dayFile, failure);
    if (failure) throw CDayFileError(dayFile.string() + ": cannot be written: " + failure.message());
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

CFlowFilePaths CDayFiles::Flow(std::string_view name) {
    const std::string base = (m_folder / EscapedName(name)).string();
    CFlowFilePaths paths{base + ".id", base + ".con"};
    RepairFlow(paths);
    return paths;
}

void CDayFiles::RepairFlow(const CFlowFilePaths& paths) {
    const bool hasContent = fs::exists(paths.contentFile);
    const bool hasId = fs::exists(paths.idFile);
    if (!hasContent) {
        if (hasId && fs::file_size(paths.idFile) != 0) throw CDayFileError(paths.contentFile + ": missing, though its id file indexes records");
        return;
    }
    const CFile content(std::fopen(paths.contentFile.c_str(), "rb"));
    if (!content) throw CDayFileError(paths.contentFile + ": cannot be read: " + std::strerror(errno));
    const std::uint64_t size = fs::file_size(paths.contentFile);

    // Walks the records; the id file must hold the offset after every hundredth one.
    std::vector<std::uint32_t> indexed;
    std::uint64_t offset = 0;
    std::uint32_t count = 0;
    while (offset < size) {
        std::uint32_t header[2];
        if (size - offset < CFlow::kRecordHeaderLength) break;
        if (std::fread(header, sizeof header, 1, content.get()) != 1) throw CDayFileError(paths.contentFile + ": cannot be read");
        if (header[0] > kMaxRecordLength) {
            throw CDayFileError(paths.contentFile + ": record " + std::to_string(count) + " claims " + std::to_string(header[0]) +
                                " bytes, more than any record of a day holds");
        }
        const std::uint64_t end = offset + CFlow::kRecordHeaderLength + header[0];
        if (end > size) break;
        if (::fseeko(content.get(), static_cast<off_t>(end), SEEK_SET) != 0) throw CDayFileError(paths.contentFile + ": cannot be read");
        offset = end;
        if (++count % CFlow::kIndexStep == 0) indexed.push_back(static_cast<std::uint32_t>(offset));
    }
    if (offset < size) {
        std::error_code failure;
        fs::resize_file(paths.contentFile, offset, failure);
        if (failure) throw CDayFileError(paths.contentFile + ": cannot cut its torn last record: " + failure.message());
        m_repairs.push_back(paths.contentFile + ": cut a torn last record (" + std::to_string(size - offset) +
                            " bytes) left by an interrupted write");
    }

    const std::uint64_t idSize = hasId ? fs::file_size(paths.idFile) : 0;
    std::vector<std::uint32_t> entries(idSize / 4);
    if (!entries.empty()) {
        const CFile id(std::fopen(paths.idFile.c_str(), "rb"));
        if (!id || std::fread(entries.data(), 4, entries.size(), id.get()) != entries.size()) {
            throw CDayFileError(paths.idFile + ": cannot be read");
        }
    }
    for (std::size_t k = 0; k < entries.size(); ++k) {
        if (k >= indexed.size() || entries[k] != indexed[k]) {
            throw CDayFileError(paths.idFile + ": entry " + std::to_string(k + 1) + " does not index " + paths.contentFile);
        }
    }
    // The id entry is written just after the hundredth record, so an interrupted write can have
    // lost the last one (or torn it); more than that is not what an interruption leaves.
    if (indexed.size() > entries.size() + 1) {
        throw CDayFileError(paths.idFile + ": lacks " + std::to_string(indexed.size() - entries.size()) + " entries of " +
                            paths.contentFile);
    }
    if (idSize % 4 == 0 && indexed.size() == entries.size()) return;
    std::error_code failure;
    if (hasId) fs::resize_file(paths.idFile, entries.size() * 4, failure);
    if (failure) throw CDayFileError(paths.idFile + ": cannot be repaired: " + failure.message());
    if (indexed.size() > entries.size()) {
        const CFile id(std::fopen(paths.idFile.c_str(), "ab"));
        if (!id || std::fwrite(&indexed.back(), 4, 1, id.get()) != 1 || std::fflush(id.get()) != 0) {
            throw CDayFileError(paths.idFile + ": cannot be repaired");
        }
    }
    m_repairs.push_back(paths.idFile + ": completed its last entry, which an interrupted write left out");
}

}  // namespace quorex::sim
