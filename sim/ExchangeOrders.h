// CExchangeOrders: orders, cancels and continuous matching in the two-way bidding (Yq) market.
// An accepted order is answered, published as an order return on its trader's and the monitors'
// private flows, matched against the book (each fill a match return on both sides' flows) and the
// instrument's quotation is published on the market flow. Monitors may force cancels, singly or
// by filter.
//
// Thread contract: one thread (the exchange's). The day state and the replies are borrowed
// from the exchange.
#pragma once

#include <string_view>

#include "public/XTPPackage.h"
#include "sim/ExchangeOutput.h"
#include "sim/ExchangeReplies.h"
#include "sim/ExchangeState.h"

namespace quorex::sim {

class CExchangeOrders {
public:
    CExchangeOrders(CExchangeState& state, CExchangeReplies& replies)
        : m_state(state), m_replies(replies) {}

    // Handlers of the dispatch table.
    void PlaceOrder(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void CancelOrder(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void ForceCancelOrder(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void ForceCancelByFilter(SessionId id, CExchangeSession& session, const CXTPPackage& request);

private:
    Rsp ValidateOrder(const CExchangeSession& session, COrder& order) const;
    void Match(std::size_t incoming);
    void RecordMatch(COrder& order, int volume, double price, std::uint32_t matchNumber, double profit);
    void Cancel(COrder& order, char status, std::string_view cancelID);
    void PublishOrderReturn(std::uint32_t tid, const COrder& order);
    void PublishQuotation(int instrument);
    bool IsTradable(int instrument) const;
    bool MonitorPasswordMatches(const CExchangeSession& session, const CXTPPackage& request) const;

    CExchangeState& m_state;
    CExchangeReplies& m_replies;
};

}  // namespace quorex::sim
