// CPackageWriter: builds the exchange's outgoing packages in one reusable package block: a dialog
// package is finished into wire form (XTP header and content) for one session; a flow package's
// header and content are handed to a sequenced flow, which numbers it.
//
// Answers that carry many records are split over as many packages as needed; every package of an
// answer keeps room for the response field, the first ones are marked Chain 'N', the last 'L', and
// an answer that fits in one package is marked 'S'.
// Thread contract: one thread (the exchange's). Owns its package block.
#pragma once

#include <cstdint>
#include <span>

#include "public/FlowSeries.h"
#include "public/RecordTraits.h"
#include "public/XTPPackage.h"

namespace quorex::sim {

inline constexpr char kChainSingle = 'S';
inline constexpr char kChainMore = 'N';
inline constexpr char kChainLast = 'L';

class CPackageWriter {
public:
    // Starts a package of type tid that answers a request with this RootID (none: empty).
    void Begin(std::uint32_t tid, const char* rootID = nullptr) {
        m_package.Prepare(tid);
        if (rootID != nullptr) m_package.SetRootID(rootID);
    }
    // How many records of this type one package holds, keeping reserve content bytes free for
    // the fields that follow them (the response field of an answer).
    template <class Record>
    static constexpr std::size_t RecordsPerPackage(std::size_t reserve) {
        constexpr std::size_t kRoom = kMaxPayloadLength - kLowerHeadersAllowance < kMaxContentLength
                                          ? kMaxPayloadLength - kLowerHeadersAllowance
                                          : kMaxContentLength;
        return (kRoom - reserve) / (kFieldHeaderLength + RecordTraits<Record>::kWireLength);
    }
    // Adds a record; false when the package's definition has no place for it or it is full.
    template <class Record>
    bool Add(const Record& record) {
        return m_package.AddRecord(record);
    }
    // The package in wire form for the dialog flow; valid until the next Begin.
    std::span<const std::uint8_t> FinishDialog(char chain) {
        TXTPHeader header = m_package.m_XTPHeader;
        header.SequenceSeries = kDialogSeries;
        header.SequenceNo = 0;
        header.Chain = chain;
        header.ContentLength = static_cast<std::uint16_t>(m_package.Length());
        m_package.PrependHeader(header);
        return {m_package.Address(), m_package.Length()};
    }
    // The header and content of a package for a sequenced flow, which sets series and number.
    const TXTPHeader& Header() const { return m_package.m_XTPHeader; }
    std::span<const std::uint8_t> Content() const { return {m_package.Address(), m_package.Length()}; }

    // The response field's share of an answer package.
    static constexpr std::size_t kResponseReserve = kFieldHeaderLength + RecordTraits<TTRspMsg>::kWireLength;

private:
    CXTPPackage m_package;
};

}  // namespace quorex::sim
