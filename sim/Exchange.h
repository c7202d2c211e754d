// CExchange: the exchange of the simulator, without any networking. It takes each parsed request
// of a session, answers it on that session's dialog flow and publishes what follows (order,
// cancel and match returns, quotations, state notices) on the sequenced flows it keeps for the
// whole trading day: each trader's and the monitors' private flow (series 3), each member's flow
// and the monitors' member flow (series 2) and the market flow (series 4).
//
// A session logs in as a trader (0x00000011) or a monitor user (0x00000441) with one subscription
// point per flow; the exchange then resumes each flow after that point. NextPackage hands a
// session its flows' packages one at a time, in flow order (private, member, market), and, when
// the session has caught up with what its flows held at login, the end of the standard data
// (0x00000EC1). The transport pulls from NextPackage whenever it can send, so a slow session never
// makes the exchange queue packages for it.
//
// Thread contract: one thread drives everything (the server's reactor thread, or a test). The
// exchange owns the trading day's state and its flows; the output and the clock are borrowed and
// must outlive it.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "public/XTPPackage.h"
#include "sim/Accounts.h"
#include "sim/Order.h"
#include "sim/OrderBook.h"
#include "sim/PackageWriter.h"
#include "sim/Responses.h"
#include "sim/SequencedFlow.h"
#include "sim/TradingDay.h"

namespace quorex::sim {

using SessionId = std::uint32_t;

// Where the exchange's dialog packages go, and how it ends a session.
class CExchangeOutput {
public:
    virtual ~CExchangeOutput() = default;
    // A package for one session in wire form (XTP header and content); valid during the call.
    virtual void SendDialog(SessionId session, std::span<const std::uint8_t> package) = 0;
    // Ends a session once what it was given has gone out: after a logout, a forced logout, or a
    // new login of the same user elsewhere. The exchange has already forgotten the session.
    virtual void EndSession(SessionId session) = 0;
    // A login's subscription point lies beyond the end of its flow: the client kept the state of
    // another run of this trading day and will drop this run's packages up to its point.
    virtual void OnStaleSubscription(SessionId session, int series, std::int32_t point, std::uint32_t last) {
        (void)session, (void)series, (void)point, (void)last;
    }
};

// The time of day written into records, "HH:MM:SS"; injectable so that tests see fixed times.
class CTimeOfDay {
public:
    virtual ~CTimeOfDay() = default;
    virtual void Format(char (&text)[9]) const = 0;
};

// The local time of day of the machine.
class CLocalTimeOfDay final : public CTimeOfDay {
public:
    void Format(char (&text)[9]) const override;
};

class CExchange {
public:
    CExchange(CTradingDay day, CExchangeOutput& output, const CTimeOfDay& clock);
    CExchange(const CExchange&) = delete;
    CExchange& operator=(const CExchange&) = delete;
    ~CExchange();

    // A request of a session: a package that parsed (Parse() >= 0) on the dialog flow.
    void Handle(SessionId session, const CXTPPackage& request);
    // The session's connection has ended; its user is offline from now on.
    void Disconnect(SessionId session);
    // The next package for the session (see above), in wire form; empty when nothing waits. The
    // bytes stay valid until the next call into the exchange.
    std::span<const std::uint8_t> NextPackage(SessionId session);
    bool HasPending(SessionId session) const;
    bool IsLoggedIn(SessionId session) const;

    const CTradingDay& Day() const { return m_day; }
    const CAccounts& Accounts() const { return m_accounts; }
    const TYqQuotation& Quotation(int instrument) const { return m_instruments[instrument].quotation; }
    std::size_t OrderCount() const { return m_orders.size(); }
    const COrder& Order(std::size_t id) const { return m_orders[id]; }

private:
    enum class Role { kNone, kTrader, kMonitor };
    struct CFlowCursor {
        const CSequencedFlow* flow = nullptr;
        std::uint32_t next = 1;       // number of the next package to hand out
        std::uint32_t catchUpTo = 0;  // the flow's last number at login
    };
    struct CSession {
        Role role = Role::kNone;
        int user = -1;  // index of the trader or the monitor user
        CFlowCursor cursors[3];  // private, member, market
        bool sendOverPending = false;
    };
    struct CTraderState {
        TTrader record{};
        int member = -1;
        long long lastLocalOrderNo = 0;
        char lastLocalOrderText[15] = "00000000000000";
        bool online = false;
        SessionId session = 0;
        std::unique_ptr<CSequencedFlow> privateFlow;
    };
    struct CUserState {
        TUser record{};
        bool online = false;
        SessionId session = 0;
    };
    struct CInstrumentState {
        TYqQuotation quotation{};
        COrderBook book;
    };

    using Handler = void (CExchange::*)(SessionId, CSession&, const CXTPPackage&);
    struct CRoute {
        std::uint32_t tid;
        Role role;  // kNone: any logged-in session
        Handler handler;
    };
    static const CRoute kRoutes[];

    // Login, logout, passwords and reference data (Exchange.cpp).
    void TraderLogin(SessionId id, CSession& session, const CXTPPackage& request);
    void UserLogin(SessionId id, CSession& session, const CXTPPackage& request);
    void Subscribe(SessionId id, CSession& session, const CXTPPackage& request, const CSequencedFlow* flows[3]);
    // Binds a logged-in user to this session; the same user logging in again takes over and the
    // earlier connection is ended.
    template <class UserState>
    void ClaimSession(SessionId id, CSession& session, UserState& state, Role role, int user);
    void SendReferenceData(SessionId id);
    void TraderLogout(SessionId id, CSession& session, const CXTPPackage& request);
    void UserLogout(SessionId id, CSession& session, const CXTPPackage& request);
    void TraderPassword(SessionId id, CSession& session, const CXTPPackage& request);
    void UserPassword(SessionId id, CSession& session, const CXTPPackage& request);
    void IgnoreRequest(SessionId id, CSession& session, const CXTPPackage& request);
    void RefuseUnsupported(SessionId id, const CXTPPackage& request, Rsp result);
    void ForgetSession(SessionId id);

    // Orders, cancels and matching (ExchangeOrders.cpp).
    void PlaceOrder(SessionId id, CSession& session, const CXTPPackage& request);
    Rsp ValidateOrder(const CSession& session, COrder& order) const;
    void Match(std::size_t incoming);
    void RecordMatch(COrder& order, int volume, double price, std::uint32_t matchNumber, double profit);
    void CancelOrder(SessionId id, CSession& session, const CXTPPackage& request);
    void ForceCancelOrder(SessionId id, CSession& session, const CXTPPackage& request);
    void ForceCancelByFilter(SessionId id, CSession& session, const CXTPPackage& request);
    void Cancel(COrder& order, char status, std::string_view cancelID);
    void PublishOrderReturn(std::uint32_t tid, const COrder& order);
    void PublishQuotation(int instrument);
    bool IsTradable(int instrument) const;

    // Queries (ExchangeQueries.cpp).
    void QueryCapital(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryIndentures(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryInstrumentIndentures(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryOrders(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryOrders4M(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryMatches(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryMatches4M(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryQuotations(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryLastQuotations(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryMemberPositions(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryClientPositions(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryBulletins(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryTraders(SessionId id, CSession& session, const CXTPPackage& request);
    // The member a session may see: its trader's member, or any ("") for a monitor.
    std::string_view VisibleMember(const CSession& session) const;

    // The monitor's controls (ExchangeMonitor.cpp).
    void ChangeExchangeState(SessionId id, CSession& session, const CXTPPackage& request);
    void ChangeMarketState(SessionId id, CSession& session, const CXTPPackage& request);
    void ChangeInstrumentState(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryExchangeState(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryMarketState(SessionId id, CSession& session, const CXTPPackage& request);
    void QueryInstrumentState(SessionId id, CSession& session, const CXTPPackage& request);
    void PublishBulletin(SessionId id, CSession& session, const CXTPPackage& request);
    void ForceTraderLogout(SessionId id, CSession& session, const CXTPPackage& request);
    bool MonitorPasswordMatches(const CSession& session, const CXTPPackage& request) const;

    // Answers and publications.
    template <class Record>
    void Answer(SessionId id, const CXTPPackage& request, const Record* echo, Rsp result);
    template <class Record>
    void AnswerRecords(SessionId id, const CXTPPackage& request, std::uint32_t tid, std::span<const Record> records);
    template <class Record>
    void SendRecords(SessionId id, std::uint32_t tid, std::span<const Record> records);
    template <class Record>
    void Publish(CSequencedFlow& flow, std::uint32_t tid, const Record& record);

    int FindInstrument(std::string_view instID) const;
    int FindTrader(std::string_view traderID) const;
    int FindUser(std::string_view userID) const;
    int FindMarket(std::string_view marketID) const;
    CSequencedFlow& MemberFlow(int member) { return *m_memberFlows[member]; }

    CTradingDay m_day;
    CExchangeOutput& m_output;
    const CTimeOfDay& m_clock;
    CAccounts m_accounts;
    std::vector<CTraderState> m_traders;
    std::vector<CUserState> m_users;
    std::vector<CInstrumentState> m_instruments;
    std::vector<COrder> m_orders;    // today's orders; an order's ID is its index
    std::vector<TYqMatch> m_matches;  // today's matches, one record per side
    std::uint32_t m_matchCount = 0;
    std::vector<std::unique_ptr<CSequencedFlow>> m_memberFlows;  // per member
    CSequencedFlow m_marketFlow{4};
    CSequencedFlow m_monitorPrivateFlow{3};
    CSequencedFlow m_monitorMemberFlow{2};
    std::unordered_map<SessionId, CSession> m_sessions;
    CPackageWriter m_writer;
};

// Answers a request with its record (none for a refusal without one) and the result.
template <class Record>
void CExchange::Answer(SessionId id, const CXTPPackage& request, const Record* echo, Rsp result) {
    m_writer.Begin(request.m_XTPHeader.Tid + 1, request.m_XTPHeader.RootID);
    if (echo != nullptr) m_writer.Add(*echo);
    m_writer.Add(RspMsgOf(result));
    m_output.SendDialog(id, m_writer.FinishDialog(kChainSingle));
}

// Answers a query with its records, over as many packages as they need, each with the response
// field. Fields of one type stand in a package in the reverse order of their addition, so each
// package's share is added backwards: the receiver reads the records in the order given.
template <class Record>
void CExchange::AnswerRecords(SessionId id, const CXTPPackage& request, std::uint32_t tid, std::span<const Record> records) {
    constexpr std::size_t kPerPackage = CPackageWriter::RecordsPerPackage<Record>(CPackageWriter::kResponseReserve);
    std::size_t start = 0;
    do {
        const std::size_t end = std::min(records.size(), start + kPerPackage);
        m_writer.Begin(tid, request.m_XTPHeader.RootID);
        for (std::size_t i = end; i-- > start;) m_writer.Add(records[i]);
        m_writer.Add(RspMsgOf(Rsp::kSuccess));
        const bool last = end == records.size();
        m_output.SendDialog(id, m_writer.FinishDialog(last ? (start == 0 ? kChainSingle : kChainLast) : kChainMore));
        start = end;
    } while (start < records.size());
}

// Sends information records (reference data) on the dialog flow, as many per package as fit.
template <class Record>
void CExchange::SendRecords(SessionId id, std::uint32_t tid, std::span<const Record> records) {
    constexpr std::size_t kPerPackage = CPackageWriter::RecordsPerPackage<Record>(0);
    for (std::size_t start = 0; start < records.size();) {
        const std::size_t end = std::min(records.size(), start + kPerPackage);
        m_writer.Begin(tid);
        for (std::size_t i = end; i-- > start;) m_writer.Add(records[i]);
        const bool last = end == records.size();
        m_output.SendDialog(id, m_writer.FinishDialog(last ? (start == 0 ? kChainSingle : kChainLast) : kChainMore));
        start = end;
    }
}

// Appends a package with one record to a sequenced flow.
template <class Record>
void CExchange::Publish(CSequencedFlow& flow, std::uint32_t tid, const Record& record) {
    m_writer.Begin(tid);
    m_writer.Add(record);
    flow.Append(m_writer.Header(), m_writer.Content());
}

}  // namespace quorex::sim
