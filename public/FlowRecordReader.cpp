#include "public/FlowRecordReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "public/Flow.h"

namespace quorex {
namespace {

constexpr std::size_t kBufferSize = 64 * 1024;

}  // namespace

CFlowRecordReader::CFlowRecordReader(const std::string& contentFile) : m_buffer(kBufferSize) {
    m_fd = ::open(contentFile.c_str(), O_RDONLY | O_CLOEXEC);
    if (m_fd < 0) {
        m_missing = errno == ENOENT;
        m_error = m_missing ? 0 : errno;
        return;
    }
    struct stat status {};
    if (::fstat(m_fd, &status) != 0) {
        m_error = errno;
        return;
    }
    m_size = static_cast<std::uint64_t>(status.st_size);
}

CFlowRecordReader::~CFlowRecordReader() {
    if (m_fd >= 0) ::close(m_fd);
}

bool CFlowRecordReader::Fetch(std::uint64_t offset, std::size_t length) {
    if (offset >= m_bufferStart && offset + length <= m_bufferStart + m_bufferFilled) return true;
    if (m_buffer.size() < length) m_buffer.resize(length);
    const std::size_t want = static_cast<std::size_t>(std::min<std::uint64_t>(m_buffer.size(), m_size - offset));
    std::size_t got = 0;
    while (got < want) {
        const ssize_t n = ::pread(m_fd, m_buffer.data() + got, want - got, static_cast<off_t>(offset + got));
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) {
            m_error = n < 0 ? errno : EIO;
            return false;
        }
        got += static_cast<std::size_t>(n);
    }
    m_bufferStart = offset;
    m_bufferFilled = got;
    return got >= length;
}

CFlowRecordReader::EStep CFlowRecordReader::Next(bool withData, std::uint32_t maxLength) {
    if (m_error != 0) return EStep::kError;
    m_offset = m_next;
    m_data = {};
    if (m_offset == m_size || m_fd < 0) return EStep::kEnd;
    if (m_size - m_offset < CFlow::kRecordHeaderLength) {
        m_tornEnd = m_offset + CFlow::kRecordHeaderLength;
        return EStep::kTorn;
    }
    if (!Fetch(m_offset, CFlow::kRecordHeaderLength)) return EStep::kError;
    std::memcpy(m_header, At(m_offset), sizeof m_header);
    const std::uint64_t dataStart = m_offset + CFlow::kRecordHeaderLength;
    const std::uint64_t end = dataStart + m_header[0];
    // A length no record of the flow can have is damage, not a tear: the caller judges it.
    if (m_header[0] > maxLength) {
        m_next = m_size;
        return EStep::kRecord;
    }
    if (end > m_size) {
        m_tornEnd = end;
        return EStep::kTorn;
    }
    if (withData) {
        if (!Fetch(dataStart, m_header[0])) return EStep::kError;
        m_data = {At(dataStart), m_header[0]};
    }
    m_next = end;
    return EStep::kRecord;
}

}  // namespace quorex
