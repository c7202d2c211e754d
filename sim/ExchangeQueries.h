// CExchangeQueries: the queries. A trader sees its own member's capital, positions, indentures,
// orders and matches; a monitor sees the whole exchange. Empty filter members (or "*") match
// everything. Queries change nothing; member positions and capital carry the floating profit of
// the open lots at the prices the day's matches have made so far (PositionMarks).
//
// Thread contract: one thread (the exchange's). The day state and the replies are borrowed from
// the exchange.
#pragma once

#include <string_view>

#include "public/XTPPackage.h"
#include "sim/ExchangeOutput.h"
#include "sim/ExchangeReplies.h"
#include "sim/ExchangeState.h"

namespace quorex::sim {

class CExchangeQueries {
public:
    CExchangeQueries(CExchangeState& state, CExchangeReplies& replies) : m_state(state), m_replies(replies) {}

    // Handlers of the dispatch table.
    void QueryCapital(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryIndentures(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryInstrumentIndentures(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryOrders(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryOrders4M(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryMatches(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryMatches4M(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryQuotations(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryLastQuotations(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryMemberPositions(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryClientPositions(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryBulletins(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryTraders(SessionId id, CExchangeSession& session, const CXTPPackage& request);

private:
    // The member a session may see: its trader's member, or any ("") for a monitor.
    std::string_view VisibleMember(const CExchangeSession& session) const;

    CExchangeState& m_state;
    CExchangeReplies& m_replies;
};

}  // namespace quorex::sim
