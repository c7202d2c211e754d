// CSequencedFlow: one sequenced flow of the exchange (a member's flow, series 2; a trader's or a
// monitor's private flow, series 3; the market flow, series 4), kept for the whole trading day.
// Each package is stored once, in wire form (56-byte XTP header, then content), numbered 1, 2, ...
// in the flow's series, so that every session reading the flow, now or after a re-login, gets the
// same bytes with the same numbers: nothing lost and nothing twice.
//
// Storage grows in blocks of 256 KiB that never move, so a package handed out stays valid for the
// flow's lifetime. Thread contract: one thread (the exchange's). Owns its blocks.
#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "quorex/Records.h"

namespace quorex::sim {

class CSequencedFlow {
public:
    explicit CSequencedFlow(std::uint8_t series) : m_series(series) {}
    CSequencedFlow(const CSequencedFlow&) = delete;
    CSequencedFlow& operator=(const CSequencedFlow&) = delete;

    // Stores a package: header members come from header, except SequenceSeries (the flow's),
    // SequenceNo (the next number) and ContentLength (content's size, at most 4040 bytes).
    // Returns the number given.
    std::uint32_t Append(const TXTPHeader& header, std::span<const std::uint8_t> content);
    // The number of the last package; 0 for an empty flow.
    std::uint32_t LastSequenceNo() const { return static_cast<std::uint32_t>(m_packages.size()); }
    // The wire form of package number sequenceNo, 1 <= sequenceNo <= LastSequenceNo().
    std::span<const std::uint8_t> Package(std::uint32_t sequenceNo) const { return m_packages[sequenceNo - 1]; }
    std::uint8_t Series() const { return m_series; }

private:
    static constexpr std::size_t kBlockSize = 256 * 1024;

    std::uint8_t m_series;
    std::vector<std::unique_ptr<std::uint8_t[]>> m_blocks;
    std::size_t m_blockUsed = kBlockSize;
    std::vector<std::span<const std::uint8_t>> m_packages;
};

}  // namespace quorex::sim
