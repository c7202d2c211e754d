#include "sim/SequencedFlow.h"

#include <cstring>

#include "public/XTPPackage.h"

namespace quorex::sim {

std::uint32_t CSequencedFlow::Append(const TXTPHeader& header, std::span<const std::uint8_t> content) {
    const std::size_t length = XTPHLEN + content.size();
    if (m_blockUsed + length > kBlockSize) {
        m_blocks.push_back(std::make_unique<std::uint8_t[]>(kBlockSize));
        m_blockUsed = 0;
    }
    std::uint8_t* place = m_blocks.back().get() + m_blockUsed;
    m_blockUsed += length;

    TXTPHeader stored = header;
    stored.SequenceSeries = m_series;
    stored.SequenceNo = LastSequenceNo() + 1;
    stored.ContentLength = static_cast<std::uint16_t>(content.size());
    EncodeXTPHeader(stored, place);
    std::memcpy(place + XTPHLEN, content.data(), content.size());
    m_packages.emplace_back(place, length);
    return stored.SequenceNo;
}

}  // namespace quorex::sim
