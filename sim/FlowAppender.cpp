#include "sim/FlowAppender.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <ctime>
#include <limits>

#include "public/Flow.h"
#include "sim/DayFlowFiles.h"

namespace quorex::sim {
namespace {

// The id file's entries are 32-bit content offsets.
constexpr std::uint64_t kMaxContentBytes = std::numeric_limits<std::uint32_t>::max();
constexpr std::size_t kInitialHeldBytes = 16 * 1024;

std::uint64_t IdFileBytes(std::uint32_t records) { return std::uint64_t{records / CFlow::kIndexStep} * 4; }

// The size of an open file; -1 when it cannot be found.
std::int64_t SizeOf(int fd) {
    struct stat status {};
    return ::fstat(fd, &status) == 0 ? status.st_size : -1;
}

}  // namespace

void CHeldWrites::Add(CFlowAppender& appender, bool first) {
    if (first) {
        m_appenders.insert(m_appenders.begin(), &appender);
    } else {
        m_appenders.push_back(&appender);
    }
}

std::uint32_t CHeldWrites::Write() {
    std::uint32_t calls = 0;
    for (CFlowAppender* appender : m_appenders) calls += appender->Write();
    m_appenders.clear();
    m_writes += calls;
    return calls;
}

CFlowAppender::CFlowAppender(const CFlowFilePaths& files, std::uint32_t records, std::uint64_t contentBytes,
                             CHeldWrites& held, bool first)
    : m_files(files),
      m_heldWrites(held),
      m_first(first),
      m_records(records),
      m_contentBytes(contentBytes) {
    constexpr int kFlags = O_WRONLY | O_APPEND | O_CREAT | O_CLOEXEC;
    m_idFd = ::open(files.idFile.c_str(), kFlags, 0644);
    m_contentFd = m_idFd >= 0 ? ::open(files.contentFile.c_str(), kFlags, 0644) : -1;
    if (m_contentFd < 0) {
        const std::string error = FlowOpenError(files, "cannot be opened for appending");
        if (m_idFd >= 0) ::close(m_idFd);
        throw CDayFileError(error);
    }
    const auto check = [&](int fd, const std::string& file, std::uint64_t expected) {
        const std::int64_t size = SizeOf(fd);
        if (size >= 0 && static_cast<std::uint64_t>(size) == expected) return;
        ::close(m_idFd);
        ::close(m_contentFd);
        throw CDayFileError(file + ": holds " + std::to_string(size) + " bytes where the start found " +
                            std::to_string(expected) + "; stop whatever else writes the day's folder and start again");
    };
    check(m_contentFd, files.contentFile, contentBytes);
    check(m_idFd, files.idFile, IdFileBytes(records));
    m_held.reserve(kInitialHeldBytes);
}

CFlowAppender::~CFlowAppender() {
    ::close(m_idFd);
    ::close(m_contentFd);
}

void CFlowAppender::Hold(std::span<const std::uint8_t> record) {
    const std::uint64_t recordBytes = CFlow::kRecordHeaderLength + std::uint64_t{record.size()};
    if (m_contentBytes + recordBytes > kMaxContentBytes) StopOnLostWrite(FileName(), "the flow would pass 4 GiB");
    if (m_heldRecords == 0) m_heldWrites.Add(*this, m_first);
    const std::uint32_t header[2] = {static_cast<std::uint32_t>(record.size()),
                                     static_cast<std::uint32_t>(std::time(nullptr))};
    const std::size_t start = m_held.size();
    m_held.resize(start + recordBytes);
    std::memcpy(m_held.data() + start, header, sizeof header);
    if (!record.empty()) std::memcpy(m_held.data() + start + sizeof header, record.data(), record.size());
    m_contentBytes += recordBytes;
    ++m_heldRecords;
    if (++m_records % CFlow::kIndexStep == 0) m_entries.push_back({start, static_cast<std::uint32_t>(m_contentBytes)});
}

std::uint32_t CFlowAppender::Write() {
    std::uint32_t calls = 0;
    std::size_t written = 0;
    for (std::size_t k = 0; k < m_entries.size(); ++k) {
        // Up to the next hundredth record, so that this piece completes only the one this entry
        // indexes.
        const std::size_t end = k + 1 < m_entries.size() ? m_entries[k + 1].recordStart : m_held.size();
        calls += WriteWhole(m_contentFd, m_files.contentFile, m_held.data() + written, end - written);
        const std::uint32_t entry = m_entries[k].offset;
        calls += WriteWhole(m_idFd, m_files.idFile, reinterpret_cast<const std::uint8_t*>(&entry), sizeof entry);
        written = end;
    }
    if (written < m_held.size())
        calls += WriteWhole(m_contentFd, m_files.contentFile, m_held.data() + written, m_held.size() - written);
    m_held.clear();
    m_entries.clear();
    m_heldRecords = 0;
    return calls;
}

std::uint32_t CFlowAppender::WriteWhole(int fd, const std::string& file, const std::uint8_t* bytes,
                                        std::size_t length) {
    std::uint32_t calls = 0;
    while (length > 0) {
        const ssize_t n = m_heldWrites.Call()(fd, bytes, length);
        ++calls;
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) StopOnLostWrite(file, n < 0 ? std::strerror(errno) : "the file takes no more bytes");
        bytes += n;
        length -= static_cast<std::size_t>(n);
    }
    return calls;
}

}  // namespace quorex::sim
