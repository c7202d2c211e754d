// The exchange's sessions: login and logout, passwords, the reference data sent after login and
// the hand-out of the sequenced flows.
#include "sim/ExchangeLogins.h"

#include <cstdint>

#include "sim/Text.h"
#include "public/FlowSeries.h"
#include "public/PackageTypes.h"

namespace quorex::sim {
namespace {

constexpr std::int32_t kAtTheEnd = INT32_MAX;

// The order in which a session's flows are served, and the series each one answers.
constexpr std::uint8_t kCursorSeries[3] = {kPrivateSeries, kMemberSeries, kMarketSeries};

}  // namespace

void CExchangeLogins::IgnoreRequest(SessionId, CExchangeSession&, const CXTPPackage&) {}

void CExchangeLogins::ForgetSession(SessionId id) {
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end()) return;
    const CExchangeSession& session = found->second;
    if (session.role == Role::kTrader) m_state.traders[session.user].online = false;
    if (session.role == Role::kMonitor) m_state.users[session.user].online = false;
    m_sessions.erase(found);
}

void CExchangeLogins::Subscribe(SessionId id, CExchangeSession& session, const CXTPPackage& request, std::string_view tradeDate,
                                const CSequencedFlow* flows[3]) {
    for (int i = 0; i < 3; ++i) {
        session.cursors[i].flow = flows[i];
        session.cursors[i].next = 1;
        session.cursors[i].catchUpTo = flows[i]->LastSequenceNo();
    }
    session.sendOverPending = true;
    // Points kept on another trading day (or by a client that keeps no date) count in that day's
    // flows: this day is sent from its start, and the client begins the day afresh.
    if (tradeDate != m_state.day.tradeDate) return;
    // Each flow resumes after the subscription point the login carried for its series; a flow
    // without one is sent from its start, and a point beyond the flow's end sends nothing old.
    // Such a point is reported, since its client will drop this day's packages up to it, except
    // the point INT32_MAX, with which the market bot asks for nothing old on purpose.
    const CFieldRange points = request.GetField(RecordTraits<TSequencePoint>::kFieldID);
    for (int k = 0; k < points.Count(); ++k) {
        TSequencePoint point{};
        points.Decode(k, &point);
        for (int i = 0; i < 3; ++i) {
            if (point.sequenceSeries != kCursorSeries[i] || point.sequenceNo < 0) continue;
            const std::uint32_t last = flows[i]->LastSequenceNo();
            if (static_cast<std::uint32_t>(point.sequenceNo) > last && point.sequenceNo != kAtTheEnd) {
                m_replies.Output().OnStaleSubscription(id, point.sequenceSeries, point.sequenceNo, last);
            }
            session.cursors[i].next = std::min(static_cast<std::uint32_t>(point.sequenceNo), last) + 1;
        }
    }
}

template <class UserState>
void CExchangeLogins::ClaimSession(SessionId id, CExchangeSession& session, UserState& state, Role role, int user,
                                   std::string_view userId) {
    if (state.online) {
        const SessionId earlier = state.session;
        ForgetSession(earlier);
        m_replies.Output().EndSession(earlier);
    }
    session.role = role;
    session.user = user;
    state.online = true;
    state.session = id;
    m_replies.Output().OnLoggedIn(id, role == Role::kTrader ? "trader" : "monitor", userId);
}

void CExchangeLogins::TraderLogin(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqTraderLogin login{};
    const bool decoded = request.GetRecord(login);
    TReqTraderLogin answer = login;
    SetText(answer.password, "");
    const int trader = decoded ? m_state.FindTrader(FieldText(login.traderID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (session.role != Role::kNone) {
        result = Rsp::kAlreadyLoggedIn;
    } else if (trader < 0) {
        result = Rsp::kUnknownTrader;
    } else if (FieldText(m_state.traders[trader].record.password) != FieldText(login.password)) {
        result = Rsp::kWrongPassword;
    } else if (FieldText(m_state.traders[trader].record.memberID) != FieldText(login.memberID)) {
        result = Rsp::kMemberMismatch;
    }
    if (result != Rsp::kSuccess) return m_replies.Answer(id, request, decoded ? &answer : nullptr, result);

    CTraderState& state = m_state.traders[trader];
    ClaimSession(id, session, state, Role::kTrader, trader, FieldText(state.record.traderID));
    const CSequencedFlow* flows[3] = {state.privateFlow.get(), m_state.memberFlows[state.member].get(), &m_state.marketFlow};
    Subscribe(id, session, request, FieldText(login.tradeDate), flows);

    SetText(answer.tradeDate, m_state.day.tradeDate);
    m_state.Stamp(answer.tradeTime);
    SetText(answer.localOrderNo, state.lastLocalOrderText);
    answer.traderType = state.record.traderType;
    SetText(answer.clientID, FieldText(state.record.clientID));
    const int client = m_state.accounts.FindClient(FieldText(state.record.clientID));
    answer.accountType = client >= 0 ? m_state.accounts.Client(client).accountType : '0';
    SendLoginAnswer(id, request, answer, flows);
}

void CExchangeLogins::UserLogin(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqUserLogin login{};
    const bool decoded = request.GetRecord(login);
    TReqUserLogin answer = login;
    SetText(answer.password, "");
    const int user = decoded ? m_state.FindUser(FieldText(login.userID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (session.role != Role::kNone) {
        result = Rsp::kAlreadyLoggedIn;
    } else if (user < 0) {
        result = Rsp::kUnknownUser;
    } else if (FieldText(m_state.users[user].record.password) != FieldText(login.password)) {
        result = Rsp::kWrongPassword;
    }
    if (result != Rsp::kSuccess) return m_replies.Answer(id, request, decoded ? &answer : nullptr, result);

    CUserState& state = m_state.users[user];
    ClaimSession(id, session, state, Role::kMonitor, user, FieldText(state.record.userID));
    const CSequencedFlow* flows[3] = {&m_state.monitorPrivateFlow, &m_state.monitorMemberFlow, &m_state.marketFlow};
    Subscribe(id, session, request, FieldText(login.tradeDate), flows);

    SetText(answer.tradeDate, m_state.day.tradeDate);
    m_state.Stamp(answer.tradeTime);
    SendLoginAnswer(id, request, answer, flows);
}

template <class LoginRecord>
void CExchangeLogins::SendLoginAnswer(SessionId id, const CXTPPackage& request, const LoginRecord& answer,
                                      const CSequencedFlow* const flows[3]) {
    m_replies.Writer().Begin(request.m_XTPHeader.Tid + 1, request.m_XTPHeader.RootID);
    m_replies.Writer().Add(answer);
    for (int i = 0; i < 3; ++i) m_replies.Writer().Add(TSequencePoint{kCursorSeries[i], static_cast<std::int32_t>(flows[i]->LastSequenceNo())});
    m_replies.Writer().Add(RspMsgOf(Rsp::kSuccess));
    m_replies.Output().SendDialog(id, m_replies.Writer().FinishDialog(kChainSingle));
    SendReferenceData(id);
}

void CExchangeLogins::SendReferenceData(SessionId id) {
    m_replies.SendRecords<TMarket>(id, tid::MarketInfo, m_state.day.markets);
    std::vector<TYuanQiInst> instruments;
    for (const CInstrumentConfig& instrument : m_state.day.instruments) instruments.push_back(instrument.info);
    m_replies.SendRecords<TYuanQiInst>(id, tid::YuanQiInstInfo, instruments);
    m_replies.SendRecords<TVariety>(id, tid::VarietyInfo, m_state.day.varieties);
    m_replies.SendRecords<TCategory>(id, tid::CategoryInfo, m_state.day.categories);
    m_replies.SendRecords<TFactory>(id, tid::FactoryInfo, m_state.day.factories);
    m_replies.SendRecords<TRegion>(id, tid::RegionInfo, m_state.day.regions);
    m_replies.SendRecords<TWarehouse>(id, tid::WarehouseInfo, m_state.day.warehouses);
}

void CExchangeLogins::TraderLogout(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqTraderLogout logout{};
    if (!request.GetRecord(logout) || FieldText(logout.traderID) != FieldText(m_state.traders[session.user].record.traderID)) {
        return m_replies.Answer(id, request, &logout, Rsp::kNotTheSessionsUser);
    }
    m_replies.Answer(id, request, &logout, Rsp::kSuccess);
    ForgetSession(id);
    m_replies.Output().EndSession(id);
}

void CExchangeLogins::UserLogout(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqUserLogout logout{};
    if (!request.GetRecord(logout) || FieldText(logout.userID) != FieldText(m_state.users[session.user].record.userID)) {
        return m_replies.Answer(id, request, &logout, Rsp::kNotTheSessionsUser);
    }
    m_replies.Answer(id, request, &logout, Rsp::kSuccess);
    ForgetSession(id);
    m_replies.Output().EndSession(id);
}

void CExchangeLogins::TraderPassword(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqTraderPasswordUpdate update{};
    const bool decoded = request.GetRecord(update);
    TTrader& trader = m_state.traders[session.user].record;
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
    m_replies.Answer(id, request, &update, result);
}

void CExchangeLogins::UserPassword(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqUserPasswordUpdate update{};
    const bool decoded = request.GetRecord(update);
    TUser& user = m_state.users[session.user].record;
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
    m_replies.Answer(id, request, &update, result);
}

std::span<const std::uint8_t> CExchangeLogins::NextPackage(SessionId id) {
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end() || found->second.role == Role::kNone) return {};
    CExchangeSession& session = found->second;
    if (session.sendOverPending) {
        // First what the flows held at login, then the end of the standard data. A package still
        // held for the files waits for them.
        for (CFlowCursor& cursor : session.cursors) {
            if (cursor.next > cursor.catchUpTo) continue;
            if (cursor.next > cursor.flow->LastSendableNo()) return {};
            return cursor.flow->Package(cursor.next++);
        }
        session.sendOverPending = false;
        m_replies.Writer().Begin(tid::ReqStandardDataSendOver);
        m_replies.Writer().Add(RspMsgOf(Rsp::kSuccess));
        return m_replies.Writer().FinishDialog(kChainSingle);
    }
    for (CFlowCursor& cursor : session.cursors) {
        if (cursor.next <= cursor.flow->LastSendableNo()) return cursor.flow->Package(cursor.next++);
    }
    return {};
}

bool CExchangeLogins::HasPending(SessionId id) const {
    const auto found = m_sessions.find(id);
    if (found == m_sessions.end() || found->second.role == Role::kNone) return false;
    const CExchangeSession& session = found->second;
    if (session.sendOverPending) return true;
    return std::any_of(std::begin(session.cursors), std::end(session.cursors),
                       [](const CFlowCursor& cursor) { return cursor.next <= cursor.flow->LastSendableNo(); });
}

bool CExchangeLogins::IsLoggedIn(SessionId id) const {
    const auto found = m_sessions.find(id);
    return found != m_sessions.end() && found->second.role != Role::kNone;
}

}  // namespace quorex::sim
