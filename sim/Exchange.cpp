// The exchange's sessions: routing of requests, login and logout, passwords, the reference data
// sent after login and the hand-out of the sequenced flows.
#include "sim/Exchange.h"

#include <ctime>

#include "sim/Quotation.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

constexpr std::uint32_t kTraderLoginTid = 0x00000011;
constexpr std::uint32_t kUserLoginTid = 0x00000441;
constexpr std::uint32_t kSendOverTid = 0x00000EC1;
constexpr std::uint8_t kMemberSeries = 2;
constexpr std::uint8_t kPrivateSeries = 3;
constexpr std::uint8_t kMarketSeries = 4;

// The order in which a session's flows are served, and the series each one answers.
constexpr std::uint8_t kCursorSeries[3] = {kPrivateSeries, kMemberSeries, kMarketSeries};

}  // namespace

void CLocalTimeOfDay::Format(char (&text)[9]) const {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(text, sizeof text, "%H:%M:%S", &local);
}

const CExchange::CRoute CExchange::kRoutes[] = {
    {0x00000021, Role::kTrader, &CExchange::TraderLogout},
    {0x000000F1, Role::kTrader, &CExchange::PlaceOrder},
    {0x00000101, Role::kTrader, &CExchange::CancelOrder},
    {0x00000271, Role::kTrader, &CExchange::TraderPassword},
    {0x00000EC2, Role::kNone, &CExchange::IgnoreRequest},
    {0x000002E1, Role::kNone, &CExchange::QueryCapital},
    {0x000002F1, Role::kNone, &CExchange::QueryIndentures},
    {0x00000B41, Role::kNone, &CExchange::QueryInstrumentIndentures},
    {0x00000301, Role::kNone, &CExchange::QueryOrders},
    {0x00000351, Role::kNone, &CExchange::QueryMatches},
    {0x00000381, Role::kNone, &CExchange::QueryQuotations},
    {0x00000391, Role::kNone, &CExchange::QueryLastQuotations},
    {0x000003C1, Role::kNone, &CExchange::QueryMemberPositions},
    {0x000003F1, Role::kNone, &CExchange::QueryClientPositions},
    {0x00000421, Role::kNone, &CExchange::QueryBulletins},
    {0x00000451, Role::kMonitor, &CExchange::UserLogout},
    {0x00000C51, Role::kMonitor, &CExchange::UserPassword},
    {0x00000461, Role::kMonitor, &CExchange::ChangeExchangeState},
    {0x00000471, Role::kMonitor, &CExchange::ChangeMarketState},
    {0x00000481, Role::kMonitor, &CExchange::ChangeInstrumentState},
    {0x000004A1, Role::kMonitor, &CExchange::QueryExchangeState},
    {0x000009E1, Role::kMonitor, &CExchange::QueryMarketState},
    {0x000004B1, Role::kMonitor, &CExchange::QueryInstrumentState},
    {0x000004E1, Role::kMonitor, &CExchange::QueryTraders},
    {0x000004F1, Role::kMonitor, &CExchange::PublishBulletin},
    {0x00000581, Role::kMonitor, &CExchange::ForceTraderLogout},
    {0x00000591, Role::kMonitor, &CExchange::ForceCancelOrder},
    {0x00000BD1, Role::kMonitor, &CExchange::ForceCancelByFilter},
    {0x00000BE1, Role::kMonitor, &CExchange::QueryOrders4M},
    {0x00000BF1, Role::kMonitor, &CExchange::QueryMatches4M},
};

CExchange::CExchange(CTradingDay day, CExchangeOutput& output, const CTimeOfDay& clock)
    : m_day(std::move(day)), m_output(output), m_clock(clock), m_accounts(m_day) {
    for (std::size_t i = 0; i < m_day.members.size(); ++i) m_memberFlows.push_back(std::make_unique<CSequencedFlow>(kMemberSeries));
    for (const TTrader& trader : m_day.traders) {
        CTraderState& state = m_traders.emplace_back();
        state.record = trader;
        for (std::size_t m = 0; m < m_day.members.size(); ++m) {
            if (FieldText(m_day.members[m].memberID) == FieldText(trader.memberID)) state.member = static_cast<int>(m);
        }
        state.privateFlow = std::make_unique<CSequencedFlow>(kPrivateSeries);
    }
    for (const TUser& user : m_day.users) m_users.push_back({user, false, 0});
    m_instruments.resize(m_day.instruments.size());
    for (std::size_t i = 0; i < m_day.instruments.size(); ++i) {
        const TYqLastQuotation* previous = nullptr;
        for (const TYqLastQuotation& last : m_day.lastQuotations) {
            if (FieldText(last.instID) == FieldText(m_day.instruments[i].info.instID)) previous = &last;
        }
        TYqQuotation& quotation = m_instruments[i].quotation;
        quotation = OpeningQuotation(m_day.instruments[i], previous);
        quotation.Posi = m_accounts.OpenInterest(static_cast<int>(i));
        SetText(quotation.quoteDate, m_day.tradeDate);
    }
    for (TTradeBulletinBoard& bulletin : m_day.bulletins) {
        if (FieldText(bulletin.announceDate).empty()) SetText(bulletin.announceDate, m_day.tradeDate);
    }
}

CExchange::~CExchange() = default;

void CExchange::Handle(SessionId id, const CXTPPackage& request) {
    CSession& session = m_sessions[id];
    const std::uint32_t tid = request.m_XTPHeader.Tid;
    if (tid == kTraderLoginTid) return TraderLogin(id, session, request);
    if (tid == kUserLoginTid) return UserLogin(id, session, request);
    for (const CRoute& route : kRoutes) {
        if (route.tid != tid) continue;
        if (session.role == Role::kNone) return RefuseUnsupported(id, request, Rsp::kNotLoggedIn);
        if (route.role != Role::kNone && route.role != session.role) return RefuseUnsupported(id, request, Rsp::kNotPermitted);
        return (this->*route.handler)(id, session, request);
    }
    RefuseUnsupported(id, request, session.role == Role::kNone ? Rsp::kNotLoggedIn : Rsp::kNotSupported);
}

void CExchange::RefuseUnsupported(SessionId id, const CXTPPackage& request, Rsp result) {
    // Only requests are answered, and only where the protocol has an answer with a response field.
    const std::uint32_t tid = request.m_XTPHeader.Tid;
    if ((tid & 0xF) != 1) return;
    const CPackageDefinition* answer = FindPackageDefinition(tid + 1);
    if (answer == nullptr) return;
    const auto fields = answer->Fields();
    if (std::none_of(fields.begin(), fields.end(), [](const CFieldDescriptor* field) { return field == &RecordTraits<TTRspMsg>::kDescriptor; })) {
        return;
    }
    Answer<TTRspMsg>(id, request, nullptr, result);
}

void CExchange::IgnoreRequest(SessionId, CSession&, const CXTPPackage&) {}

void CExchange::Disconnect(SessionId id) { ForgetSession(id); }

void CExchange::ForgetSession(SessionId id) {
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end()) return;
    const CSession& session = found->second;
    if (session.role == Role::kTrader) m_traders[session.user].online = false;
    if (session.role == Role::kMonitor) m_users[session.user].online = false;
    m_sessions.erase(found);
}

void CExchange::Subscribe(SessionId id, CSession& session, const CXTPPackage& request, const CSequencedFlow* flows[3]) {
    for (int i = 0; i < 3; ++i) {
        session.cursors[i].flow = flows[i];
        session.cursors[i].next = 1;
        session.cursors[i].catchUpTo = flows[i]->LastSequenceNo();
    }
    // Each flow resumes after the subscription point the login carried for its series; a flow
    // without one is sent from its start, and a point beyond the flow's end sends nothing old.
    const CFieldRange points = request.GetField(RecordTraits<TSequencePoint>::kFieldID);
    for (int k = 0; k < points.Count(); ++k) {
        TSequencePoint point{};
        points.Decode(k, &point);
        for (int i = 0; i < 3; ++i) {
            if (point.sequenceSeries != kCursorSeries[i] || point.sequenceNo < 0) continue;
            const std::uint32_t last = flows[i]->LastSequenceNo();
            if (static_cast<std::uint32_t>(point.sequenceNo) > last) m_output.OnStaleSubscription(id, point.sequenceSeries, point.sequenceNo, last);
            session.cursors[i].next = std::min(static_cast<std::uint32_t>(point.sequenceNo), last) + 1;
        }
    }
    session.sendOverPending = true;
}

template <class UserState>
void CExchange::ClaimSession(SessionId id, CSession& session, UserState& state, Role role, int user) {
    if (state.online) {
        const SessionId earlier = state.session;
        ForgetSession(earlier);
        m_output.EndSession(earlier);
    }
    session.role = role;
    session.user = user;
    state.online = true;
    state.session = id;
}

void CExchange::TraderLogin(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqTraderLogin login{};
    const bool decoded = request.GetRecord(login);
    TReqTraderLogin answer = login;
    SetText(answer.password, "");
    const int trader = decoded ? FindTrader(FieldText(login.traderID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (session.role != Role::kNone) {
        result = Rsp::kAlreadyLoggedIn;
    } else if (trader < 0) {
        result = Rsp::kUnknownTrader;
    } else if (FieldText(m_traders[trader].record.password) != FieldText(login.password)) {
        result = Rsp::kWrongPassword;
    } else if (FieldText(m_traders[trader].record.memberID) != FieldText(login.memberID)) {
        result = Rsp::kMemberMismatch;
    }
    if (result != Rsp::kSuccess) return Answer(id, request, decoded ? &answer : nullptr, result);

    CTraderState& state = m_traders[trader];
    ClaimSession(id, session, state, Role::kTrader, trader);
    const CSequencedFlow* flows[3] = {state.privateFlow.get(), m_memberFlows[state.member].get(), &m_marketFlow};
    Subscribe(id, session, request, flows);

    SetText(answer.tradeDate, m_day.tradeDate);
    m_clock.Format(answer.tradeTime);
    SetText(answer.localOrderNo, state.lastLocalOrderText);
    answer.traderType = state.record.traderType;
    SetText(answer.clientID, FieldText(state.record.clientID));
    const int client = m_accounts.FindClient(FieldText(state.record.clientID));
    answer.accountType = client >= 0 ? m_accounts.Client(client).accountType : '0';
    m_writer.Begin(request.m_XTPHeader.Tid + 1, request.m_XTPHeader.RootID);
    m_writer.Add(answer);
    for (int i = 0; i < 3; ++i) m_writer.Add(TSequencePoint{kCursorSeries[i], static_cast<std::int32_t>(flows[i]->LastSequenceNo())});
    m_writer.Add(RspMsgOf(Rsp::kSuccess));
    m_output.SendDialog(id, m_writer.FinishDialog(kChainSingle));
    SendReferenceData(id);
}

void CExchange::UserLogin(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqUserLogin login{};
    const bool decoded = request.GetRecord(login);
    TReqUserLogin answer = login;
    SetText(answer.password, "");
    const int user = decoded ? FindUser(FieldText(login.userID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (session.role != Role::kNone) {
        result = Rsp::kAlreadyLoggedIn;
    } else if (user < 0) {
        result = Rsp::kUnknownUser;
    } else if (FieldText(m_users[user].record.password) != FieldText(login.password)) {
        result = Rsp::kWrongPassword;
    }
    if (result != Rsp::kSuccess) return Answer(id, request, decoded ? &answer : nullptr, result);

    CUserState& state = m_users[user];
    ClaimSession(id, session, state, Role::kMonitor, user);
    const CSequencedFlow* flows[3] = {&m_monitorPrivateFlow, &m_monitorMemberFlow, &m_marketFlow};
    Subscribe(id, session, request, flows);

    SetText(answer.tradeDate, m_day.tradeDate);
    m_clock.Format(answer.tradeTime);
    m_writer.Begin(request.m_XTPHeader.Tid + 1, request.m_XTPHeader.RootID);
    m_writer.Add(answer);
    for (int i = 0; i < 3; ++i) m_writer.Add(TSequencePoint{kCursorSeries[i], static_cast<std::int32_t>(flows[i]->LastSequenceNo())});
    m_writer.Add(RspMsgOf(Rsp::kSuccess));
    m_output.SendDialog(id, m_writer.FinishDialog(kChainSingle));
    SendReferenceData(id);
}

void CExchange::SendReferenceData(SessionId id) {
    SendRecords<TMarket>(id, 0x000009F3, m_day.markets);
    std::vector<TYuanQiInst> instruments;
    for (const CInstrumentConfig& instrument : m_day.instruments) instruments.push_back(instrument.info);
    SendRecords<TYuanQiInst>(id, 0x00000A03, instruments);
    SendRecords<TVariety>(id, 0x00000A73, m_day.varieties);
    SendRecords<TCategory>(id, 0x00000AA3, m_day.categories);
    SendRecords<TFactory>(id, 0x00000AC3, m_day.factories);
    SendRecords<TRegion>(id, 0x00000AD3, m_day.regions);
    SendRecords<TWarehouse>(id, 0x00000AE3, m_day.warehouses);
}

void CExchange::TraderLogout(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqTraderLogout logout{};
    if (!request.GetRecord(logout) || FieldText(logout.traderID) != FieldText(m_traders[session.user].record.traderID)) {
        return Answer(id, request, &logout, Rsp::kNotTheSessionsUser);
    }
    Answer(id, request, &logout, Rsp::kSuccess);
    ForgetSession(id);
    m_output.EndSession(id);
}

void CExchange::UserLogout(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqUserLogout logout{};
    if (!request.GetRecord(logout) || FieldText(logout.userID) != FieldText(m_users[session.user].record.userID)) {
        return Answer(id, request, &logout, Rsp::kNotTheSessionsUser);
    }
    Answer(id, request, &logout, Rsp::kSuccess);
    ForgetSession(id);
    m_output.EndSession(id);
}

void CExchange::TraderPassword(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqTraderPasswordUpdate update{};
    const bool decoded = request.GetRecord(update);
    TTrader& trader = m_traders[session.user].record;
    Rsp result = Rsp::kSuccess;
    if (!decoded || FieldText(update.traderID) != FieldText(trader.traderID)) {
        result = Rsp::kNotTheSessionsUser;
    } else if (FieldText(update.oldPassword) != FieldText(trader.password)) {
        result = Rsp::kWrongPassword;
    } else if (!IsMd5Hex(FieldText(update.newPassword))) {
        result = Rsp::kBadNewPassword;
    } else {
        SetText(trader.password, FieldText(update.newPassword));
    }
    // Digests are not sent back.
    SetText(update.oldPassword, "");
    SetText(update.newPassword, "");
    Answer(id, request, &update, result);
}

void CExchange::UserPassword(SessionId id, CSession& session, const CXTPPackage& request) {
    TReqUserPasswordUpdate update{};
    const bool decoded = request.GetRecord(update);
    TUser& user = m_users[session.user].record;
    Rsp result = Rsp::kSuccess;
    if (!decoded || FieldText(update.UserID) != FieldText(user.userID)) {
        result = Rsp::kNotTheSessionsUser;
    } else if (FieldText(update.oldPassword) != FieldText(user.password)) {
        result = Rsp::kWrongPassword;
    } else if (!IsMd5Hex(FieldText(update.newPassword))) {
        result = Rsp::kBadNewPassword;
    } else {
        SetText(user.password, FieldText(update.newPassword));
    }
    SetText(update.oldPassword, "");
    SetText(update.newPassword, "");
    Answer(id, request, &update, result);
}

std::span<const std::uint8_t> CExchange::NextPackage(SessionId id) {
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end() || found->second.role == Role::kNone) return {};
    CSession& session = found->second;
    if (session.sendOverPending) {
        // First what the flows held at login, then the end of the standard data.
        for (CFlowCursor& cursor : session.cursors) {
            if (cursor.next <= cursor.catchUpTo) return cursor.flow->Package(cursor.next++);
        }
        session.sendOverPending = false;
        m_writer.Begin(kSendOverTid);
        m_writer.Add(RspMsgOf(Rsp::kSuccess));
        return m_writer.FinishDialog(kChainSingle);
    }
    for (CFlowCursor& cursor : session.cursors) {
        if (cursor.next <= cursor.flow->LastSequenceNo()) return cursor.flow->Package(cursor.next++);
    }
    return {};
}

bool CExchange::HasPending(SessionId id) const {
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end() || found->second.role == Role::kNone) return false;
    const CSession& session = found->second;
    if (session.sendOverPending) return true;
    return std::any_of(std::begin(session.cursors), std::end(session.cursors),
                       [](const CFlowCursor& cursor) { return cursor.next <= cursor.flow->LastSequenceNo(); });
}

bool CExchange::IsLoggedIn(SessionId id) const {
    const auto found = m_sessions.find(id);
    return found != m_sessions.end() && found->second.role != Role::kNone;
}

int CExchange::FindInstrument(std::string_view instID) const {
    for (std::size_t i = 0; i < m_day.instruments.size(); ++i) {
        if (FieldText(m_day.instruments[i].info.instID) == instID) return static_cast<int>(i);
    }
    return -1;
}

int CExchange::FindTrader(std::string_view traderID) const {
    for (std::size_t i = 0; i < m_traders.size(); ++i) {
        if (FieldText(m_traders[i].record.traderID) == traderID) return static_cast<int>(i);
    }
    return -1;
}

int CExchange::FindUser(std::string_view userID) const {
    for (std::size_t i = 0; i < m_users.size(); ++i) {
        if (FieldText(m_users[i].record.userID) == userID) return static_cast<int>(i);
    }
    return -1;
}

int CExchange::FindMarket(std::string_view marketID) const {
    for (std::size_t i = 0; i < m_day.markets.size(); ++i) {
        if (FieldText(m_day.markets[i].marketID) == marketID) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace quorex::sim
