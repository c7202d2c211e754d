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
// Passes: the driver (the server's reactor) hands the exchange the requests of one pass, then
// calls EndPass. With the day in files, what the pass's requests changed is only held until then:
// EndPass writes the pass's journal entries in one write, then each flow's new packages in one
// write per flow, and only then answers the requests and lets the sessions have those packages.
// So a package is never given to a session before the files keep it and the request that made it,
// and a pass that changed nothing writes nothing.
//
// Keeping the day: given a folder, the exchange keeps its day there (CDayFiles) and a restart on
// the same trade date carries on with it. The design: every state change the exchange makes comes
// from a request that changes the day (an order, a cancel, a password, a state change, a
// bulletin), and the exchange is deterministic given the configured day, those requests and the
// time of day it stamps into records (read once per request). So the exchange journals each such
// request, with its session's user and that time, before it handles it (CRequestJournal), and
// keeps every sequenced flow in flow files (both written per pass, see above). A restart loads
// the flows, then handles the journaled requests again through the same handlers (answers go
// nowhere): that rebuilds orders, matches, capital, positions, indentures, numbering, each
// trader's last local order number and changed passwords, and every package it appends again
// must equal the one on disk, which checks the files against each other.
//
// A start changes nothing on disk before it has read every file, handled the whole journal again
// in memory and found the day sound. Only then does it repair what a kill at any byte leaves:
// a torn last record of a flow or of the journal and a torn or missing last id entry (cut, or
// completed); packages the flows lack (the process died between journaling a request and writing
// all it produced) are written; packages of a request whose journal entry is torn (the request
// counts as never made) are cut. Every repair is reported naming the file. Anything else, packages
// no whole journal entry explains, a package that differs from what its request gives again, a
// damaged journal entry (each carries a digest of its bytes, so its damage is told from a flow's),
// is refused with the file named and nothing changed.
//
// Thread contract: one thread drives everything (the server's reactor thread, or a test). The
// exchange owns the trading day's state and its flows; the output and the clock are borrowed and
// must outlive it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "public/XTPPackage.h"
#include "sim/DayFiles.h"
#include "sim/ExchangeLogins.h"
#include "sim/ExchangeMonitor.h"
#include "sim/ExchangeOrders.h"
#include "sim/ExchangeOutput.h"
#include "sim/ExchangeQueries.h"
#include "sim/ExchangeReplies.h"
#include "sim/ExchangeState.h"
#include "sim/FlowAppender.h"
#include "sim/HeldOutput.h"
#include "sim/RequestJournal.h"

namespace quorex::sim {

struct CDayFlow;

class CExchange {
public:
    // What a start found in the day's folder.
    struct CRestored {
        bool resumed = false;              // the folder held this day already
        std::uint32_t requests = 0;        // journaled requests handled again
        std::uint32_t packagesWritten = 0;  // packages the flows' files lacked, written again
        std::vector<std::string> repairs;  // what was cut or completed, one line each naming the file
    };

    // With a folder the day is kept there (see above); CDayFileError naming the file when it
    // holds another day or damaged files.
    CExchange(CTradingDay day, CExchangeOutput& output, const CTimeOfDay& clock, const std::filesystem::path& dataDir = {});
    CExchange(const CExchange&) = delete;
    CExchange& operator=(const CExchange&) = delete;
    // Writes what the last pass held (see EndPass) without answering anyone.
    ~CExchange();

    // A request of a session: a package that parsed (Parse() >= 0) on the dialog flow.
    void Handle(SessionId session, const CXTPPackage& request);
    // Ends a pass (see above): writes what the pass held for the files, then hands on the
    // answers and session ends held meanwhile. Cheap when nothing is held.
    void EndPass();
    // The write calls made to the day's files since the start.
    std::uint64_t FileWrites() const { return m_heldWrites.Writes(); }
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
    // The local order number of the trader's last accepted order; 0 when none (or no such trader).
    long long LastLocalOrderNo(std::string_view traderID) const;
    const CRestored& Restored() const { return m_restored; }

private:
    using Handler = void (*)(CExchange&, SessionId, CExchangeSession&, const CXTPPackage&);
    struct CRoute {
        std::uint32_t tid;
        Role role;  // kNone: any logged-in session
        bool changesDay;  // journaled before it is handled
        Handler handler;
    };
    static const CRoute kRoutes[];
    static const CRoute* FindRoute(std::uint32_t tid);

    // The table's entry for a part's handler.
    template <auto Method>
    static void Dispatch(CExchange& exchange, SessionId id, CExchangeSession& session, const CXTPPackage& request);
    template <class Part>
    Part& PartOf();

    void RefuseUnsupported(SessionId id, const CXTPPackage& request, Rsp result);
    // Opens the day's folder, loads its flows and handles its journaled requests again, then
    // repairs and opens the files (ExchangeRestore.cpp).
    void KeepDayIn(const std::filesystem::path& folder);
    // Handles the journal's entries again (answers discarded); returns how many.
    std::uint32_t HandleJournalAgain(const CDayFlow& journal);

    const CTimeOfDay& m_clock;
    CHeldWrites m_heldWrites;
    CHeldOutput m_heldOutput;
    CExchangeState m_state;
    CExchangeReplies m_replies;
    CExchangeLogins m_logins;
    CExchangeOrders m_orders;
    CExchangeQueries m_queries;
    CExchangeMonitor m_monitor;
    std::unique_ptr<CDayFiles> m_files;  // none: the day is kept in memory only
    std::unique_ptr<CRequestJournal> m_journal;
    CRestored m_restored;
};

}  // namespace quorex::sim
