// The monitor's controls: trading states of the exchange, its markets and the Yq instruments
// (each change announced on the market flow), bulletins and forced logouts.
#include "sim/ExchangeMonitor.h"
#include "sim/Text.h"
#include "public/PackageTypes.h"

namespace quorex::sim {
namespace {

constexpr std::uint32_t kExchangeStateNoticeTid = tid::NtfExchangeStateUpdate;
constexpr std::uint32_t kMarketStateNoticeTid = tid::NtfMarketStateUpdate;
constexpr std::uint32_t kYqInstStateNoticeTid = tid::NtfYqInstStateUpdate;
constexpr std::uint32_t kBulletinNoticeTid = tid::NtfTradeBulletinBoard;

}  // namespace

void CExchangeMonitor::ChangeExchangeState(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqExchangeStateUpdate update{};
    const bool decoded = request.GetRecord(update);
    Rsp result = Rsp::kSuccess;
    if (!decoded || FieldText(update.exchangeID) != FieldText(m_state.day.exchange.exchangeID)) {
        result = Rsp::kUnknownExchange;
    } else if (!IsTradingState(update.esChangeCommand)) {
        result = Rsp::kBadStateCommand;
    }
    m_replies.Answer(id, request, decoded ? &update : nullptr, result);
    if (result != Rsp::kSuccess) return;
    m_state.day.exchange.state = update.esChangeCommand;
    TExchangeState notice{};
    SetText(notice.exchangeID, FieldText(m_state.day.exchange.exchangeID));
    notice.state = m_state.day.exchange.state;
    m_replies.Publish(m_state.marketFlow, kExchangeStateNoticeTid, notice);
}

void CExchangeMonitor::ChangeMarketState(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqMarketStateUpdate update{};
    const bool decoded = request.GetRecord(update);
    const int market = decoded ? m_state.FindMarket(FieldText(update.marketID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (market < 0) {
        result = Rsp::kUnknownMarket;
    } else if (!IsTradingState(update.msChangeCommand)) {
        result = Rsp::kBadStateCommand;
    }
    m_replies.Answer(id, request, decoded ? &update : nullptr, result);
    if (result != Rsp::kSuccess) return;
    m_state.day.markets[market].marketState = update.msChangeCommand;
    TMarketState notice{};
    SetText(notice.marketID, FieldText(update.marketID));
    notice.marketState = update.msChangeCommand;
    m_replies.Publish(m_state.marketFlow, kMarketStateNoticeTid, notice);
}

void CExchangeMonitor::ChangeInstrumentState(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqInstStateUpdate update{};
    const bool decoded = request.GetRecord(update);
    const int instrument = decoded ? m_state.FindInstrument(FieldText(update.instID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (instrument < 0) {
        result = Rsp::kUnknownInstrument;
    } else if (!IsTradingState(update.isChangeCommand)) {
        result = Rsp::kBadStateCommand;
    }
    m_replies.Answer(id, request, decoded ? &update : nullptr, result);
    if (result != Rsp::kSuccess) return;
    m_state.day.instruments[instrument].info.tradeState = update.isChangeCommand;
    TInstState notice{};
    SetText(notice.instID, FieldText(update.instID));
    notice.tradeState = update.isChangeCommand;
    m_replies.Publish(m_state.marketFlow, kYqInstStateNoticeTid, notice);
}

void CExchangeMonitor::QueryExchangeState(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryExchangeState filter{};
    request.GetRecord(filter);
    std::vector<TExchangeState> found;
    if (Matches(FieldText(filter.exchangeID), FieldText(m_state.day.exchange.exchangeID))) {
        TExchangeState& state = found.emplace_back();
        SetText(state.exchangeID, FieldText(m_state.day.exchange.exchangeID));
        state.state = m_state.day.exchange.state;
    }
    m_replies.AnswerRecords<TExchangeState>(id, request, tid::RspQryExchangeState, found);
}

void CExchangeMonitor::QueryMarketState(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryMarketState filter{};
    request.GetRecord(filter);
    std::vector<TMarketState> found;
    for (const TMarket& market : m_state.day.markets) {
        if (!Matches(FieldText(filter.marketID), FieldText(market.marketID))) continue;
        TMarketState& state = found.emplace_back();
        SetText(state.marketID, FieldText(market.marketID));
        state.marketState = market.marketState;
    }
    m_replies.AnswerRecords<TMarketState>(id, request, tid::RspQryMarketState, found);
}

void CExchangeMonitor::QueryInstrumentState(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqQryInstState filter{};
    request.GetRecord(filter);
    std::vector<TInstState> found;
    for (const CInstrumentConfig& instrument : m_state.day.instruments) {
        const TYuanQiInst& info = instrument.info;
        if (!Matches(FieldText(filter.instID), FieldText(info.instID)) || !Matches(FieldText(filter.marketID), FieldText(info.marketID))) continue;
        TInstState& state = found.emplace_back();
        SetText(state.instID, FieldText(info.instID));
        state.tradeState = info.tradeState;
    }
    m_replies.AnswerRecords<TInstState>(id, request, tid::RspQryYqInstState, found);
}

void CExchangeMonitor::PublishBulletin(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TTradeBulletinBoard bulletin{};
    const bool decoded = request.GetRecord(bulletin);
    const std::string_view addressee = FieldText(bulletin.memberID);
    int member = -1;
    for (std::size_t m = 0; m < m_state.day.members.size(); ++m) {
        if (FieldText(m_state.day.members[m].memberID) == addressee) member = static_cast<int>(m);
    }
    if (!decoded || (!addressee.empty() && member < 0)) return m_replies.Answer(id, request, decoded ? &bulletin : nullptr, Rsp::kMemberMismatch);

    bulletin.seqNo = static_cast<std::int32_t>(m_state.day.bulletins.size() + 1);
    SetText(bulletin.announceDate, m_state.day.tradeDate);
    m_state.Stamp(bulletin.announceTime);
    SetText(bulletin.announcer, FieldText(m_state.users[session.user].record.userID));
    m_state.day.bulletins.push_back(bulletin);
    m_replies.Answer(id, request, &bulletin, Rsp::kSuccess);
    // A bulletin for everyone goes on the market flow, one for a member on that member's flow.
    m_replies.Publish(member < 0 ? m_state.marketFlow : m_state.MemberFlow(member), kBulletinNoticeTid, bulletin);
}

void CExchangeMonitor::ForceTraderLogout(SessionId id, CExchangeSession&, const CXTPPackage& request) {
    TReqForceTraderLogout order{};
    const bool decoded = request.GetRecord(order);
    const int trader = decoded ? m_state.FindTrader(FieldText(order.traderID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (trader < 0) {
        result = Rsp::kUnknownTrader;
    } else if (!m_state.traders[trader].online) {
        result = Rsp::kTraderNotOnline;
    }
    m_replies.Answer(id, request, decoded ? &order : nullptr, result);
    if (result != Rsp::kSuccess) return;
    const SessionId target = m_state.traders[trader].session;
    m_logins.ForgetSession(target);
    m_replies.Output().EndSession(target);
}

}  // namespace quorex::sim
