#include "tools/dump/FlowReader.h"

#include <sys/types.h>

#include <cerrno>
#include <cstring>
#include <utility>

#include "public/Flow.h"

namespace quorex::dump {
namespace {

constexpr std::uint64_t kIdEntryBytes = 4;

std::string Number(std::uint64_t value) { return std::to_string(value); }

}  // namespace

CDumpError::CDumpError(const std::string& file, std::uint64_t position, const std::string& problem)
    : std::runtime_error(file + ": byte " + Number(position) + ": " + problem) {}

CDumpError::CDumpError(const std::string& file, const std::string& problem)
    : std::runtime_error(file + ": " + problem) {}

CFlowReader::CFlowReader(std::string idPath, std::string contentPath)
    : m_idPath(std::move(idPath)), m_contentPath(std::move(contentPath)) {
    m_contentFile = OpenForReading(m_contentPath, m_contentSize);
    try {
        m_idFile = OpenForReading(m_idPath, m_idSize);
    } catch (...) {
        std::fclose(m_contentFile);
        throw;
    }
    if (m_idSize % kIdEntryBytes != 0) {
        std::fclose(m_idFile);
        std::fclose(m_contentFile);
        throw CDumpError(m_idPath, m_idSize - m_idSize % kIdEntryBytes,
                         "the id file ends inside an entry (" + Number(m_idSize) + " bytes is not a multiple of 4)");
    }
}

CFlowReader::~CFlowReader() {
    std::fclose(m_idFile);
    std::fclose(m_contentFile);
}

std::FILE* CFlowReader::OpenForReading(const std::string& path, std::uint64_t& size) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw CDumpError(path, std::string("cannot open: ") + std::strerror(errno));
    off_t end = -1;
    if (::fseeko(file, 0, SEEK_END) == 0) end = ::ftello(file);
    if (end < 0 || ::fseeko(file, 0, SEEK_SET) != 0) {
        std::fclose(file);
        throw CDumpError(path, "cannot read (not a regular file?)");
    }
    size = static_cast<std::uint64_t>(end);
    return file;
}

bool CFlowReader::Next(FlowRecord& record) {
    // The entry of record 100 * k is written as soon as that many records are stored, so it is
    // checked also when the content ends there.
    if (m_number != 0 && m_number % CFlow::kIndexStep == 0) CheckIdEntry();
    if (m_offset == m_contentSize) {
        CheckNoEntriesLeft();
        return false;
    }

    const std::uint64_t left = m_contentSize - m_offset;
    const std::string where = " (record " + Number(m_number) + ")";
    std::uint32_t header[2];
    if (left < CFlow::kRecordHeaderLength) {
        throw CDumpError(m_contentPath, m_offset,
                         "truncated record header" + where + ": " + Number(left) + " of 8 bytes left");
    }
    if (::fseeko(m_contentFile, static_cast<off_t>(m_offset), SEEK_SET) != 0 ||
        std::fread(header, sizeof header, 1, m_contentFile) != 1) {
        throw CDumpError(m_contentPath, m_offset, "cannot read the record header" + where);
    }
    const std::uint32_t length = header[0];
    const std::uint64_t dataLeft = left - CFlow::kRecordHeaderLength;
    if (length > dataLeft) {
        throw CDumpError(m_contentPath, m_offset,
                         "record length " + Number(length) + where + " passes the end of the file (" +
                             Number(dataLeft) + " bytes left)");
    }
    if (length > m_buffer.size()) {
        throw CDumpError(m_contentPath, m_offset,
                         "record length " + Number(length) + where + " is longer than any package (" +
                             Number(m_buffer.size()) + " bytes)");
    }
    if (length != 0 && std::fread(m_buffer.data(), length, 1, m_contentFile) != 1) {
        throw CDumpError(m_contentPath, m_offset + CFlow::kRecordHeaderLength, "cannot read the record" + where);
    }
    record = FlowRecord{m_number, m_offset, header[1], {m_buffer.data(), length}};
    m_offset += CFlow::kRecordHeaderLength + length;
    ++m_number;
    return true;
}

// Entry k of the id file is the content offset of record 100 * k, which the walk has just reached.
void CFlowReader::CheckIdEntry() {
    const std::uint64_t entry = m_number / CFlow::kIndexStep;
    const std::uint64_t position = (entry - 1) * kIdEntryBytes;
    if (position >= m_idSize) {
        throw CDumpError(m_idPath, m_idSize,
                         "the id file ends without the entry for record " + Number(m_number) + " (at byte " +
                             Number(m_offset) + " of the content file)");
    }
    std::uint32_t indexed = 0;
    if (::fseeko(m_idFile, static_cast<off_t>(position), SEEK_SET) != 0 ||
        std::fread(&indexed, sizeof indexed, 1, m_idFile) != 1) {
        throw CDumpError(m_idPath, position, "cannot read the id entry");
    }
    if (indexed != m_offset) {
        throw CDumpError(m_idPath, position,
                         "the entry for record " + Number(m_number) + " says offset " + Number(indexed) +
                             ", but the record starts at byte " + Number(m_offset) + " of the content file");
    }
}

void CFlowReader::CheckNoEntriesLeft() const {
    const std::uint64_t expected = m_number / CFlow::kIndexStep;
    const std::uint64_t entries = m_idSize / kIdEntryBytes;
    if (entries > expected) {
        throw CDumpError(m_idPath, expected * kIdEntryBytes,
                         "the id file has " + Number(entries) + " entries, but the content file holds only " +
                             Number(m_number) + " records");
    }
}

}  // namespace quorex::dump
