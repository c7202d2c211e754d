#include "sim/SequencedFlow.h"

#include <array>
#include <cstring>

#include "public/Flow.h"
#include "public/XTPPackage.h"
#include "sim/FlowRecords.h"

namespace quorex::sim {

CFlowMismatch::CFlowMismatch(const std::string& file, std::uint32_t sequenceNo)
    : CDayFileError(file + ": package " + std::to_string(sequenceNo) + " is not what the day's journaled requests give again"),
      m_file(file), m_sequenceNo(sequenceNo) {}

CSequencedFlow::CSequencedFlow(std::uint8_t series) : m_series(series) {}

CSequencedFlow::~CSequencedFlow() = default;

std::uint8_t* CSequencedFlow::Reserve(std::size_t length) {
    if (m_blockUsed + length > kBlockSize) {
        m_blocks.push_back(std::make_unique<std::uint8_t[]>(kBlockSize));
        m_blockUsed = 0;
    }
    std::uint8_t* place = m_blocks.back().get() + m_blockUsed;
    m_blockUsed += length;
    return place;
}

void CSequencedFlow::Load(const std::string& contentFile, std::uint64_t end) {
    m_files.contentFile = contentFile;
    CFlowRecords records(contentFile, end, CDayFiles::kMaxRecordLength);
    while (records.Next()) {
        const std::span<const std::uint8_t> record = records.Data();
        const std::uint32_t n = records.Number() + 1;
        TXTPHeader header{};
        if (record.size() >= XTPHLEN) RecordTraits<TXTPHeader>::Decode(header, record.data());
        if (record.size() < XTPHLEN || header.SequenceSeries != m_series || header.SequenceNo != n ||
            header.ContentLength != record.size() - XTPHLEN) {
            throw CDayFileError(contentFile + ": record " + std::to_string(n - 1) + " is not package " + std::to_string(n) +
                                " of series " + std::to_string(m_series) + "; " + std::string(kDamagedDayRemedy));
        }
        std::uint8_t* place = Reserve(record.size());
        std::memcpy(place, record.data(), record.size());
        m_packages.emplace_back(place, record.size());
    }
    m_stored = LastSequenceNo();
}

void CSequencedFlow::DropUnconfirmed() {
    m_packages.resize(m_confirmed);
    m_stored = std::min(m_stored, m_confirmed);
}

std::uint64_t CSequencedFlow::ContentOffset(std::uint32_t n) const {
    std::uint64_t offset = 0;
    for (std::uint32_t i = 0; i < n; ++i) offset += CFlow::kRecordHeaderLength + m_packages[i].size();
    return offset;
}

std::uint32_t CSequencedFlow::KeepIn(const CFlowFilePaths& files, CHeldWrites& held) {
    m_files = files;
    m_appender = std::make_unique<CFlowAppender>(files, m_stored, ContentOffset(m_stored), held);
    const std::uint32_t lacking = LastSequenceNo() - m_stored;
    for (; m_stored < LastSequenceNo(); ++m_stored) m_appender->Hold(m_packages[m_stored]);
    return lacking;
}

std::uint32_t CSequencedFlow::Append(const TXTPHeader& header, std::span<const std::uint8_t> content) {
    TXTPHeader stored = header;
    stored.SequenceSeries = m_series;
    stored.SequenceNo = m_confirmed + 1;
    stored.ContentLength = static_cast<std::uint16_t>(content.size());
    if (m_confirmed < m_packages.size()) {
        const std::span<const std::uint8_t> loaded = m_packages[m_confirmed];
        std::array<std::uint8_t, XTPHLEN> encoded;
        EncodeXTPHeader(stored, encoded.data());
        if (loaded.size() != XTPHLEN + content.size() || std::memcmp(loaded.data(), encoded.data(), XTPHLEN) != 0 ||
            std::memcmp(loaded.data() + XTPHLEN, content.data(), content.size()) != 0) {
            throw CFlowMismatch(FileName(), stored.SequenceNo);
        }
        return ++m_confirmed;
    }

    const std::size_t length = XTPHLEN + content.size();
    std::uint8_t* place = Reserve(length);
    EncodeXTPHeader(stored, place);
    std::memcpy(place + XTPHLEN, content.data(), content.size());
    if (m_appender != nullptr) {
        m_appender->Hold({place, length});
        ++m_stored;
    }
    m_packages.emplace_back(place, length);
    return ++m_confirmed;
}

}  // namespace quorex::sim
