// CExchangeMonitor: the monitor's controls: trading states of the exchange, its markets and the
// Yq instruments (each change announced on the market flow) and their queries, bulletins and
// forced logouts.
//
// Thread contract: one thread (the exchange's). The day state, the replies and the sessions
// (for forced logouts) are borrowed from the exchange.
#pragma once

#include "public/XTPPackage.h"
#include "sim/ExchangeLogins.h"
#include "sim/ExchangeOutput.h"
#include "sim/ExchangeReplies.h"
#include "sim/ExchangeState.h"

namespace quorex::sim {

class CExchangeMonitor {
public:
    CExchangeMonitor(CExchangeState& state, CExchangeReplies& replies, CExchangeLogins& logins)
        : m_state(state), m_replies(replies), m_logins(logins) {}

    // Handlers of the dispatch table.
    void ChangeExchangeState(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void ChangeMarketState(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void ChangeInstrumentState(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryExchangeState(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryMarketState(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void QueryInstrumentState(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void PublishBulletin(SessionId id, CExchangeSession& session, const CXTPPackage& request);
    void ForceTraderLogout(SessionId id, CExchangeSession& session, const CXTPPackage& request);

private:
    CExchangeState& m_state;
    CExchangeReplies& m_replies;
    CExchangeLogins& m_logins;
};

}  // namespace quorex::sim
