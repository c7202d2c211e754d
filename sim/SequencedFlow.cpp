#include "sim/SequencedFlow.h"

#include <array>
#include <cstring>

#include "quorex/Errors.h"

#include "public/XTPPackage.h"

namespace quorex::sim {

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

void CSequencedFlow::KeepIn(const CFlowFilePaths& files) {
    m_files = files;
    try {
        m_file = std::make_unique<CFlow>(files.idFile.c_str(), files.contentFile.c_str(), true);
    } catch (const CRuntimeError& error) {
        throw CDayFileError(files.contentFile + ": " + error.GetMessage());
    }
    std::array<std::uint8_t, kMaxPayloadLength> record;
    std::uint64_t offset = 0;
    for (std::uint32_t n = 1; n <= m_file->Count(); ++n) {
        std::uint32_t length = 0;
        try {
            length = m_file->Read(static_cast<std::uint32_t>(offset), record);
        } catch (const CRuntimeError& error) {
            throw CDayFileError(files.contentFile + ": package " + std::to_string(n) + ": " + error.GetMessage());
        }
        offset += CFlow::kRecordHeaderLength + length;
        TXTPHeader header{};
        if (length >= XTPHLEN) RecordTraits<TXTPHeader>::Decode(header, record.data());
        if (length < XTPHLEN || header.SequenceSeries != m_series || header.SequenceNo != n || header.ContentLength != length - XTPHLEN) {
            throw CDayFileError(files.contentFile + ": record " + std::to_string(n - 1) + " is not package " + std::to_string(n) +
                                " of series " + std::to_string(m_series));
        }
        std::uint8_t* place = Reserve(length);
        std::memcpy(place, record.data(), length);
        m_packages.emplace_back(place, length);
    }
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
            throw CDayFileError(FileName() + ": package " + std::to_string(stored.SequenceNo) +
                                " is not what the day's journaled requests give again");
        }
        return ++m_confirmed;
    }

    const std::size_t length = XTPHLEN + content.size();
    std::uint8_t* place = Reserve(length);
    EncodeXTPHeader(stored, place);
    std::memcpy(place + XTPHLEN, content.data(), content.size());
    if (m_file != nullptr) {
        try {
            m_file->Append({place, length}, 0);
        } catch (const CRuntimeError& error) {
            StopOnLostWrite(FileName(), error.GetMessage());
        }
    }
    m_packages.emplace_back(place, length);
    return ++m_confirmed;
}

}  // namespace quorex::sim
