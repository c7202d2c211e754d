#include "sim/DayFlowFiles.h"

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <filesystem>

#include "public/Flow.h"

namespace quorex::sim {
namespace {

using EDamage = TFlowCheck::EDamage;

std::string Damaged(const std::string& what) { return what + "; " + std::string(kDamagedDayRemedy); }

constexpr std::string_view kWritableRemedy = "; make it writable by the user running exchange-sim";

// The file of the pair that cannot be opened for reading (the check does not say which).
const std::string& UnreadableFile(const CFlowFilePaths& paths) {
    const int fd = ::open(paths.idFile.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    const bool idFails = fd < 0 && errno != ENOENT;
    if (fd >= 0) ::close(fd);
    return idFails ? paths.idFile : paths.contentFile;
}

void Truncate(const std::string& path, std::uint64_t size) {
    if (::truncate(path.c_str(), static_cast<off_t>(size)) != 0) {
        throw CDayFileError(path + ": cannot be cut back: " + std::strerror(errno) + std::string(kWritableRemedy));
    }
}

std::uint64_t SizeOf(const std::string& path) {
    std::error_code failure;
    const std::uintmax_t size = std::filesystem::file_size(path, failure);
    return failure ? 0 : size;
}

}  // namespace

CDayFlow CheckDayFlow(const CFlowFilePaths& paths) {
    RequireRegularFile(paths.idFile);
    RequireRegularFile(paths.contentFile);
    CDayFlow flow{paths, CheckFlowFiles(paths.idFile, paths.contentFile, CDayFiles::kMaxRecordLength)};
    const TFlowCheck& check = flow.check;
    switch (check.damage) {
    case EDamage::kNone:
        return flow;
    case EDamage::kUnreadable:
        throw CDayFileError(UnreadableFile(paths) + ": cannot be read: " + std::strerror(check.osError) +
                            "; make it readable by the user running exchange-sim");
    case EDamage::kContentMissing:
        throw CDayFileError(Damaged(paths.contentFile + ": missing, though its id file indexes records"));
    case EDamage::kRecordTooLong:
        throw CDayFileError(Damaged(paths.contentFile + ": record " + std::to_string(check.record) + " claims " +
                                    std::to_string(check.length) + " bytes, more than any record of a day holds"));
    case EDamage::kIdEntryWrong:
        throw CDayFileError(Damaged(paths.idFile + ": entry " + std::to_string(check.record) + " does not index " + paths.contentFile));
    case EDamage::kIdEntriesMissing:
        throw CDayFileError(Damaged(paths.idFile + ": lacks " + std::to_string(check.record) + " entries of " + paths.contentFile));
    }
    throw CDayFileError(Damaged(paths.contentFile + ": damaged"));
}

void CheckWritable(const CFlowFilePaths& paths) {
    for (const std::string& path : {paths.idFile, paths.contentFile}) {
        const int fd = ::open(path.c_str(), O_WRONLY | O_CLOEXEC | O_NONBLOCK);
        if (fd >= 0) {
            ::close(fd);
            continue;
        }
        std::string blocked = path;
        if (errno == ENOENT) {
            const std::filesystem::path folder = std::filesystem::path(path).parent_path();
            blocked = folder.empty() ? "." : folder.string();
            if (::access(blocked.c_str(), W_OK | X_OK) == 0) continue;
        }
        throw CDayFileError(blocked + ": cannot be written: " + std::strerror(errno) + std::string(kWritableRemedy));
    }
}

void RepairTornTail(const CDayFlow& flow, std::vector<std::string>& repairs) {
    const TFlowCheck& check = flow.check;
    if (!check.NeedsRepair()) return;
    if (!RepairFlowFiles(flow.paths.idFile, flow.paths.contentFile, check)) {
        // Which file refused the change is not reported; the content file is cut first.
        const std::string& file = check.contentKeep != check.contentSize ? flow.paths.contentFile : flow.paths.idFile;
        throw CDayFileError(file + ": cannot be repaired: " + std::strerror(errno) + std::string(kWritableRemedy));
    }
    if (check.TornBytes() != 0) {
        repairs.push_back(flow.paths.contentFile + ": cut a torn last record (record " + std::to_string(check.records) + ", " +
                          std::to_string(check.TornBytes()) + " bytes) left by an interrupted write");
    }
    if (check.addIdEntry) {
        repairs.push_back(flow.paths.idFile + ": completed its last entry (for record " +
                          std::to_string((check.idKeep / 4 + 1) * CFlow::kIndexStep) + "), which an interrupted write left out");
    } else if (check.idKeep != check.idSize) {
        repairs.push_back(flow.paths.idFile + ": cut its last entry (" + std::to_string(check.idSize - check.idKeep) +
                          " bytes), which indexed the torn record");
    }
}

void CutFlowBack(const CFlowFilePaths& paths, std::uint32_t records, std::uint32_t keep,
                 const std::function<std::uint64_t(std::uint32_t)>& offsetOf) {
    while (records > keep) {
        const std::uint32_t next = std::max(keep, (records - 1) / CFlow::kIndexStep * CFlow::kIndexStep);
        const std::uint64_t idSize = std::uint64_t{next / CFlow::kIndexStep} * 4;
        if (SizeOf(paths.idFile) > idSize) Truncate(paths.idFile, idSize);
        Truncate(paths.contentFile, offsetOf(next));
        records = next;
    }
}

std::string FlowOpenError(const CFlowFilePaths& paths, const char* text) {
    for (const std::string& path : {paths.idFile, paths.contentFile}) {
        const int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0644);
        if (fd < 0) return path + ": " + text + ": " + std::strerror(errno) + std::string(kWritableRemedy);
        ::close(fd);
    }
    return paths.contentFile + ": " + text;
}

}  // namespace quorex::sim
