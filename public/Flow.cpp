#include "public/Flow.h"

#include <sys/types.h>

#include <ctime>
#include <limits>

#include "public/ErrorReport.h"
#include "public/ErrorTexts.h"

namespace quorex {
namespace {

constexpr std::uint64_t kMaxContentSize = std::numeric_limits<std::uint32_t>::max();
// A hundred records take at least a hundred 8-byte headers, so consecutive id entries lie at
// least this far apart; anything closer is not an id file this flow wrote.
constexpr std::uint64_t kMinSegmentBytes = std::uint64_t{CFlow::kIndexStep} * CFlow::kRecordHeaderLength;

bool IsEmptyName(const char* name) { return name == nullptr || name[0] == '\0'; }

bool Seek(std::FILE* file, std::uint64_t offset) { return ::fseeko(file, static_cast<off_t>(offset), SEEK_SET) == 0; }

// The size of a file, or -1 when it cannot be found.
std::int64_t FileSize(std::FILE* file) {
    if (::fseeko(file, 0, SEEK_END) != 0) return -1;
    return static_cast<std::int64_t>(::ftello(file));
}

std::uint32_t CurrentTime() { return static_cast<std::uint32_t>(std::time(nullptr)); }

}  // namespace

CFlow::CFlow(const char* idFileName, const char* contentFileName, bool reuse) {
    if (idFileName != nullptr && contentFileName != nullptr) Open(idFileName, contentFileName, reuse);
}

CFlow::~CFlow() { CloseFiles(); }

void CFlow::CloseFiles() {
    if (m_idFile != nullptr) std::fclose(m_idFile);
    if (m_contentFile != nullptr) std::fclose(m_contentFile);
    m_idFile = m_contentFile = nullptr;
    m_count = 0;
    m_contentSize = 0;
    m_index.clear();
    m_writeFailed = false;
    m_readSinceAppend = true;
    m_readPosition = kUnknownPosition;
}

void CFlow::FailOpen(const char* text, int line) {
    CloseFiles();
    throw CRuntimeError(text, kModuleFlow, line);
}

void CFlow::Open(const char* idFileName, const char* contentFileName, bool reuse) {
    CloseFiles();
    if (IsEmptyName(idFileName) || IsEmptyName(contentFileName)) FailOpen(kFlowFileNameError, __LINE__);
    m_index.assign(1, 0);

    if (reuse) {
        m_idFile = std::fopen(idFileName, "a+b");
        m_contentFile = std::fopen(contentFileName, "a+b");
        if (m_idFile == nullptr || m_contentFile == nullptr) FailOpen(kFlowCannotOpen, __LINE__);
        OpenReused();
    } else {
        m_idFile = std::fopen(idFileName, "w+b");
        m_contentFile = std::fopen(contentFileName, "w+b");
        if (m_idFile == nullptr || m_contentFile == nullptr) {
            Log(LogLevel::kError, "filename=%s\n", idFileName);
            FailOpen(kFlowCannotOpen, __LINE__);
        }
    }
    try {
        OnOpened();
    } catch (...) {
        CloseFiles();
        throw;
    }
    for (std::size_t i = 0; i < m_observers.size(); ++i) m_observers[i]->OnFlowOpen(*this);
}

void CFlow::OpenReused() {
    const std::int64_t contentSize = FileSize(m_contentFile);
    if (contentSize < 0 || static_cast<std::uint64_t>(contentSize) > kMaxContentSize) {
        FailOpen(kFlowInvalidIdFile, __LINE__);
    }
    m_contentSize = static_cast<std::uint64_t>(contentSize);
    LoadIndex();
    const std::uint32_t walked = WalkLastSegment();
    m_count = static_cast<std::uint32_t>(m_index.size() - 1) * kIndexStep + walked;
}

// Reads the whole id file into the index after checking that it can be the index of this content
// file: whole entries only, each at least a hundred headers past the one before, none past the end.
void CFlow::LoadIndex() {
    const std::int64_t idSize = FileSize(m_idFile);
    if (idSize < 0 || idSize % 4 != 0) FailOpen(kFlowInvalidIdFile, __LINE__);
    const std::uint64_t entries = static_cast<std::uint64_t>(idSize) / 4;
    if (entries > m_contentSize / kMinSegmentBytes) FailOpen(kFlowInvalidIdFile, __LINE__);
    if (entries == 0) return;

    m_index.resize(entries + 1);
    // Back to the end afterwards: the next id entry is written there, and a write may not follow
    // a read without a positioning call.
    if (!Seek(m_idFile, 0) || std::fread(m_index.data() + 1, 4, entries, m_idFile) != entries ||
        ::fseeko(m_idFile, 0, SEEK_END) != 0) {
        FailOpen(kFlowInvalidIdFile, __LINE__);
    }
    for (std::size_t k = 1; k < m_index.size(); ++k) {
        if (m_index[k] < std::uint64_t{m_index[k - 1]} + kMinSegmentBytes || m_index[k] > m_contentSize) {
            FailOpen(kFlowInvalidIdFile, __LINE__);
        }
    }
}

// Walks the records after the last indexed one; they must end exactly at the end of the content
// file and be fewer than a hundred. At most a hundred headers are read whatever the files hold.
std::uint32_t CFlow::WalkLastSegment() {
    std::uint64_t offset = m_index.back();
    std::uint32_t walked = 0;
    std::uint32_t header[2];
    while (offset < m_contentSize && walked < kIndexStep && ReadAt(offset, header, sizeof header)) {
        offset += kRecordHeaderLength + std::uint64_t{header[0]};
        ++walked;
    }
    // A header that could not be read leaves the walk short of the end, which is reported here.
    if (offset != m_contentSize || walked >= kIndexStep) FailOpen(kFlowInvalidIdFile, __LINE__);
    return walked;
}

void CFlow::Append(std::span<const std::uint8_t> data, std::uint32_t time) {
    const std::uint64_t recordBytes = kRecordHeaderLength + std::uint64_t{data.size()};
    if (m_contentFile == nullptr || m_writeFailed || m_contentSize + recordBytes > kMaxContentSize) {
        throw CRuntimeError(kFlowCannotWriteContent, kModuleFlow, __LINE__);
    }
    const std::uint32_t header[2] = {static_cast<std::uint32_t>(data.size()), time != 0 ? time : CurrentTime()};
    // Reads move the file position; a positioning call must also separate them from writes.
    if (m_readSinceAppend && ::fseeko(m_contentFile, 0, SEEK_END) != 0) {
        throw CRuntimeError(kFlowCannotWriteContent, kModuleFlow, __LINE__);
    }
    m_readSinceAppend = false;
    if (std::fwrite(header, sizeof header, 1, m_contentFile) != 1 ||
        (!data.empty() && std::fwrite(data.data(), 1, data.size(), m_contentFile) != data.size()) ||
        (!m_grouped && std::fflush(m_contentFile) != 0)) {
        m_writeFailed = true;
        throw CRuntimeError(kFlowCannotWriteContent, kModuleFlow, __LINE__);
    }
    m_contentSize += recordBytes;
    ++m_count;
    if (m_count % kIndexStep == 0) WriteIdEntry();
    for (std::size_t i = 0; i < m_observers.size(); ++i) m_observers[i]->OnFlowAppend(*this, data, header[1]);
}

void CFlow::Flush() {
    if (m_contentFile == nullptr) return;
    if (m_writeFailed || std::fflush(m_contentFile) != 0) {
        m_writeFailed = true;
        throw CRuntimeError(kFlowCannotWriteContent, kModuleFlow, __LINE__);
    }
}

void CFlow::WriteIdEntry() {
    if (m_grouped) Flush();
    const auto offset = static_cast<std::uint32_t>(m_contentSize);
    m_index.push_back(offset);
    if (std::fwrite(&offset, sizeof offset, 1, m_idFile) != 1 || std::fflush(m_idFile) != 0) {
        m_writeFailed = true;
        throw CRuntimeError(kFlowCannotWriteId, kModuleFlow, __LINE__);
    }
}

bool CFlow::ReadAt(std::uint64_t offset, void* dest, std::size_t length) {
    if (offset + length > m_contentSize) return false;
    // Reading on from where the last read stopped needs no seek, which would drop stdio's buffer:
    // a replay of the whole flow then reads the file front to back.
    const bool inPlace = m_readSinceAppend && m_readPosition == offset;
    m_readSinceAppend = true;
    m_readPosition = kUnknownPosition;
    if (!inPlace && !Seek(m_contentFile, offset)) return false;
    if (length != 0 && std::fread(dest, length, 1, m_contentFile) != 1) return false;
    m_readPosition = offset + length;
    return true;
}

std::uint32_t CFlow::Locate(std::uint32_t recordNumber) {
    if (recordNumber <= m_count && m_contentFile != nullptr) {
        const std::uint32_t segment = recordNumber / kIndexStep;
        std::uint64_t offset = m_index[segment];
        std::uint32_t record = segment * kIndexStep;
        std::uint32_t length = 0;
        while (record < recordNumber && ReadAt(offset, &length, sizeof length)) {
            offset += kRecordHeaderLength + std::uint64_t{length};
            ++record;
        }
        if (record == recordNumber && offset <= m_contentSize) return static_cast<std::uint32_t>(offset);
    }
    Log(LogLevel::kError, "file=%s line=%d id=%d flowcount=%d\n", kModuleFlow, __LINE__, static_cast<int>(recordNumber),
                static_cast<int>(m_count));
    throw CRuntimeError(kFlowCannotReadId, kModuleFlow, __LINE__);
}

std::uint32_t CFlow::Read(std::uint32_t offset, std::span<std::uint8_t> buffer, std::uint32_t* time) {
    std::uint32_t header[2];
    if (m_contentFile == nullptr || !ReadAt(offset, header, sizeof header)) {
        Log(LogLevel::kError, "file=%s line=%d offset=%d flowcount=%d\n", kModuleFlow, __LINE__, static_cast<int>(offset),
                    static_cast<int>(m_count));
        throw CRuntimeError(kFlowCannotReadContent, kModuleFlow, __LINE__);
    }
    const std::uint32_t length = header[0];
    if (length > buffer.size()) {
        Log(LogLevel::kError, "flowId.size=%d bufferLength=%d\n", static_cast<int>(length), static_cast<int>(buffer.size()));
        throw CRuntimeError(kFlowBufferTooShort, kModuleFlow, __LINE__);
    }
    if (!ReadAt(std::uint64_t{offset} + kRecordHeaderLength, buffer.data(), length)) {
        throw CRuntimeError(kFlowCannotReadContent, kModuleFlow, __LINE__);
    }
    if (time != nullptr) *time = header[1];
    return length;
}

int CFlow::Subscribe(CFlowObserver* observer) {
    m_observers.push_back(observer);
    return static_cast<int>(m_observers.size());
}

void CFlow::Unsubscribe(CFlowObserver* observer) { std::erase(m_observers, observer); }

}  // namespace quorex
