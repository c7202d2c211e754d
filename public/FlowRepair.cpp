#include "public/FlowRepair.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <vector>

#include "public/Flow.h"
#include "public/FlowRecordReader.h"

namespace quorex {
namespace {

// An open file descriptor, closed on every way out; -1 for a file that does not exist.
class CReadFile {
public:
    explicit CReadFile(const std::string& path) : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC)) {
        m_missing = m_fd < 0 && errno == ENOENT;
        m_error = m_fd < 0 && !m_missing ? errno : 0;
    }
    CReadFile(const CReadFile&) = delete;
    CReadFile& operator=(const CReadFile&) = delete;
    ~CReadFile() {
        if (m_fd >= 0) ::close(m_fd);
    }

    bool Missing() const { return m_missing; }
    int Error() const { return m_error; }
    int Fd() const { return m_fd; }
    // The file's size, or -1 (errno in Error()).
    std::int64_t Size() {
        struct stat status {};
        if (::fstat(m_fd, &status) == 0) return status.st_size;
        m_error = errno;
        return -1;
    }
    // Reads exactly length bytes at offset; false (errno in Error()) otherwise.
    bool ReadAt(std::uint64_t offset, void* into, std::size_t length) {
        auto* bytes = static_cast<char*>(into);
        while (length > 0) {
            const ssize_t n = ::pread(m_fd, bytes, length, static_cast<off_t>(offset));
            if (n < 0 && errno == EINTR) continue;
            if (n <= 0) {
                m_error = n < 0 ? errno : EIO;
                return false;
            }
            bytes += n;
            offset += static_cast<std::uint64_t>(n);
            length -= static_cast<std::size_t>(n);
        }
        return true;
    }

private:
    int m_fd;
    bool m_missing = false;
    int m_error = 0;
};

using EDamage = TFlowCheck::EDamage;

TFlowCheck Damage(TFlowCheck check, EDamage damage, std::uint32_t record = 0, std::uint32_t length = 0) {
    check.damage = damage;
    check.record = record;
    check.length = length;
    return check;
}

TFlowCheck Unreadable(TFlowCheck check, int error) {
    check.damage = EDamage::kUnreadable;
    check.osError = error != 0 ? error : EIO;
    return check;
}

}  // namespace

TFlowCheck CheckFlowFiles(const std::string& idFile, const std::string& contentFile, std::uint32_t maxRecordLength) {
    TFlowCheck check;
    CReadFile id(idFile);
    if (id.Error() != 0) return Unreadable(check, id.Error());
    const std::int64_t idSize = id.Missing() ? 0 : id.Size();
    if (idSize < 0) return Unreadable(check, id.Error());
    check.idSize = static_cast<std::uint64_t>(idSize);

    CFlowRecordReader content(contentFile);
    if (content.Missing()) {
        if (check.idSize >= 4) return Damage(check, EDamage::kContentMissing);
        return check;
    }
    if (content.Error() != 0) return Unreadable(check, content.Error());
    check.contentSize = content.Size();

    // Walks the whole records; the id file must hold the offset after every hundredth one.
    std::vector<std::uint32_t> indexed;
    std::uint64_t tornEnd = 0;  // where a torn last record claims to end
    for (;;) {
        const CFlowRecordReader::EStep step = content.Next(false, maxRecordLength);
        if (step == CFlowRecordReader::EStep::kError) return Unreadable(check, content.Error());
        if (step == CFlowRecordReader::EStep::kRecord && content.Length() > maxRecordLength) {
            return Damage(check, EDamage::kRecordTooLong, check.records, content.Length());
        }
        if (step == CFlowRecordReader::EStep::kTorn) tornEnd = content.TornEnd();
        if (step != CFlowRecordReader::EStep::kRecord) break;
        if (++check.records % CFlow::kIndexStep == 0) {
            indexed.push_back(static_cast<std::uint32_t>(content.Offset() + CFlow::kRecordHeaderLength + content.Length()));
        }
    }
    check.contentKeep = content.Offset();

    std::vector<std::uint32_t> entries(check.idSize / 4);
    if (!entries.empty() && !id.ReadAt(0, entries.data(), entries.size() * 4)) return Unreadable(check, id.Error());
    std::size_t kept = entries.size();
    // The one entry a torn hundredth record can have: written for it, pointing at its end. Only a
    // crash of the machine writes it back before the record; it goes with the record.
    if (kept == indexed.size() + 1 && tornEnd != 0 && (check.records + 1) % CFlow::kIndexStep == 0 &&
        entries.back() == tornEnd) {
        --kept;
    }
    for (std::size_t k = 0; k < kept; ++k) {
        if (k >= indexed.size() || entries[k] != indexed[k]) {
            return Damage(check, EDamage::kIdEntryWrong, static_cast<std::uint32_t>(k + 1));
        }
    }
    // The entry is written just after its hundredth record, so an interruption can have lost the
    // last one (or torn it); more than that is not what an interruption leaves.
    if (indexed.size() > kept + 1) {
        return Damage(check, EDamage::kIdEntriesMissing, static_cast<std::uint32_t>(indexed.size() - kept));
    }
    check.idKeep = kept * 4;
    if (indexed.size() > kept) {
        check.addIdEntry = true;
        check.idEntry = indexed.back();
    }
    return check;
}

bool RepairFlowFiles(const std::string& idFile, const std::string& contentFile, const TFlowCheck& check) {
    if (!check.NeedsRepair()) return !check.Damaged();
    if (check.contentKeep != check.contentSize && ::truncate(contentFile.c_str(), static_cast<off_t>(check.contentKeep)) != 0) {
        return false;
    }
    if (check.idKeep == check.idSize && !check.addIdEntry) return true;
    const int fd = ::open(idFile.c_str(), O_WRONLY | O_CREAT | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    bool ok = ::ftruncate(fd, static_cast<off_t>(check.idKeep)) == 0;
    if (ok && check.addIdEntry) {
        ok = ::pwrite(fd, &check.idEntry, sizeof check.idEntry, static_cast<off_t>(check.idKeep)) ==
             static_cast<ssize_t>(sizeof check.idEntry);
    }
    const int error = errno;
    ::close(fd);
    errno = error;
    return ok;
}

}  // namespace quorex
