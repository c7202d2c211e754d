// CExchange: the exchange of the simulator, without any networking. It takes each parsed request
// of a session, answers it on that session's dialog flow and publishes what follows (order,
// cancel and match returns, quotations, state notices) on the sequenced flows it keeps for the
// whole trading day: each trader's and the monitors' private flow (series 3), each member's flow
// and the monitors' member flow (series 2) and the market flow (series 4).
//
// The work is shared by four parts over one day state (CExchangeState): the sessions
// (CExchangeLogins), orders and matching (CExchangeOrders), queries (CExchangeQueries) and the
// monitor's controls (CExchangeMonitor). One dispatch table routes each request type to its
// part's handler, after checking the session's role.
//
// NextPackage hands a session its flows' packages one at a time; the transport pulls from it
// whenever it can send, so a slow session never makes the exchange queue packages for it.
//
// Thread contract: one thread drives everything (the server's reactor thread, or a test). The
// exchange owns the trading day's state and its flows; the output and the clock are borrowed and
// must outlive it.
#pragma once

#include <cstdint>
#include <span>

#include "public/XTPPackage.h"
#include "sim/ExchangeLogins.h"
#include "sim/ExchangeMonitor.h"
#include "sim/ExchangeOrders.h"
#include "sim/ExchangeOutput.h"
#include "sim/ExchangeQueries.h"
#include "sim/ExchangeReplies.h"
#include "sim/ExchangeState.h"

namespace quorex::sim {

class CExchange {
public:
    CExchange(CTradingDay day, CExchangeOutput& output, const CTimeOfDay& clock);
    CExchange(const CExchange&) = delete;
    CExchange& operator=(const CExchange&) = delete;
    ~CExchange();

    // A request of a session: a package that parsed (Parse() >= 0) on the dialog flow.
    void Handle(SessionId session, const CXTPPackage& request);
    // The session's connection has ended; its user is offline from now on.
    void Disconnect(SessionId session) { m_logins.ForgetSession(session); }
    // The next package for the session (see above), in wire form; empty when nothing waits. The
    // bytes stay valid until the next call into the exchange.
    std::span<const std::uint8_t> NextPackage(SessionId session) { return m_logins.NextPackage(session); }
    bool HasPending(SessionId session) const { return m_logins.HasPending(session); }
    bool IsLoggedIn(SessionId session) const { return m_logins.IsLoggedIn(session); }

    const CTradingDay& Day() const { return m_state.day; }
    const CAccounts& Accounts() const { return m_state.accounts; }
    const TYqQuotation& Quotation(int instrument) const { return m_state.instruments[instrument].quotation; }
    std::size_t OrderCount() const { return m_state.orders.size(); }
    const COrder& Order(std::size_t id) const { return m_state.orders[id]; }

private:
    using Handler = void (*)(CExchange&, SessionId, CExchangeSession&, const CXTPPackage&);
    struct CRoute {
        std::uint32_t tid;
        Role role;  // kNone: any logged-in session
        Handler handler;
    };
    static const CRoute kRoutes[];

    // The table's entry for a part's handler.
    template <auto Method>
    static void Dispatch(CExchange& exchange, SessionId id, CExchangeSession& session, const CXTPPackage& request);
    template <class Part>
    Part& PartOf();

    void RefuseUnsupported(SessionId id, const CXTPPackage& request, Rsp result);

    CExchangeState m_state;
    CExchangeReplies m_replies;
    CExchangeLogins m_logins;
    CExchangeOrders m_orders;
    CExchangeQueries m_queries;
    CExchangeMonitor m_monitor;
};

}  // namespace quorex::sim
