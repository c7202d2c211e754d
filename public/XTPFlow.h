// CXTPFlow: a flow of XTP packages. Each record is one package in wire form (the 56-byte XTP
// header, then the content), numbered in the flow's own sequence series: the stored header carries
// the flow's SequenceSeries and the next SequenceNo, the rest of the header comes from the package.
// After reopening with reuse, numbering continues after the last stored package.
//
// Thread contract: one thread at a time, like CFlow. Ownership: packages handed to Append stay
// the caller's; the flow takes a view of the package's block only for the duration of the call.
#pragma once

#include <cstdint>

#include "public/Flow.h"
#include "public/XTPPackage.h"

namespace quorex {

class CXTPFlow : public CFlow {
public:
    // Opens the flow (see CFlow::Open) and numbers its packages in series.
    CXTPFlow(const char* idFileName, const char* contentFileName, bool reuse, std::uint8_t series);

    using CFlow::Append;
    // Stores the package (its window is the content; its m_XTPHeader gives Tid, Chain, RootID,
    // sender and jump fields and TimeMark) with the next sequence number and the given time
    // (0: now). CDesignError "package buffer too small" when the package has no 56 bytes of
    // headroom or its content could not be read back as one package of at most 4096 bytes.
    void Append(const CXTPPackage& package, std::uint32_t time);

    // The header the next package is stored with; SequenceNo is the last number used.
    const TXTPHeader& Template() const { return m_template; }

protected:
    // Restarts numbering, from the last stored package when the flow holds any.
    void OnOpened() override;

private:
    std::uint8_t m_series;
    TXTPHeader m_template{};
    CXTPPackage m_view;
};

}  // namespace quorex
