// The monitor's controls: trading states of the exchange, its markets and the Yq instruments
// (each change announced on the market flow), bulletins and forced logouts.
#include "sim/Exchange.h"
#include "sim/Text.h"

namespace quorex::sim {
namespace {

constexpr std::uint32_t kExchangeStateNoticeTid = 0x00000463;
constexpr std::uint32_t kMarketStateNoticeTid = 0x00000473;
constexpr std::uint32_t kYqInstStateNoticeTid = 0x00000483;
constexpr std::uint32_t kBulletinNoticeTid = 0x000004F3;

}  // namespace

void CExchange::ChangeExchangeState(SessionId id, CSession&, const CXTPPackage& request) {
    TReqExchangeStateUpdate update{};
    const bool decoded = request.GetRecord(update);
    Rsp result = Rsp::kSuccess;
    if (!decoded || FieldText(update.exchangeID) != FieldText(m_day.exchange.exchangeID)) {
        result = Rsp::kUnknownExchange;
    } else if (!IsTradingState(update.esChangeCommand)) {
        result = Rsp::kBadStateCommand;
    }
    Answer(id, request, decoded ? &update : nullptr, result);
    if (result != Rsp::kSuccess) return;
    m_day.exchange.state = update.esChangeCommand;
    TExchangeState notice{};
    SetText(notice.exchangeID, FieldText(m_day.exchange.exchangeID));
    notice.state = m_day.exchange.state;
    Publish(m_marketFlow, kExchangeStateNoticeTid, notice);
}

void CExchange::ChangeMarketState(SessionId id, CSession&, const CXTPPackage& request) {
    TReqMarketStateUpdate update{};
    const bool decoded = request.GetRecord(update);
    const int market = decoded ? FindMarket(FieldText(update.marketID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (market < 0) {
        result = Rsp::kUnknownMarket;
    } else if (!IsTradingState(update.msChangeCommand)) {
        result = Rsp::kBadStateCommand;
    }
    Answer(id, request, decoded ? &update : nullptr, result);
    if (result != Rsp::kSuccess) return;
    m_day.markets[market].marketState = update.msChangeCommand;
    TMarketState notice{};
    SetText(notice.marketID, FieldText(update.marketID));
    notice.marketState = update.msChangeCommand;
    Publish(m_marketFlow, kMarketStateNoticeTid, notice);
}

void CExchange::ChangeInstrumentState(SessionId id, CSession&, const CXTPPackage& request) {
    TReqInstStateUpdate update{};
    const bool decoded = request.GetRecord(update);
    const int instrument = decoded ? FindInstrument(FieldText(update.instID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (instrument < 0) {
        result = Rsp::kUnknownInstrument;
    } else if (!IsTradingState(update.isChangeCommand)) {
        result = Rsp::kBadStateCommand;
    }
    Answer(id, request, decoded ? &update : nullptr, result);
    if (result != Rsp::kSuccess) return;
    m_day.instruments[instrument].info.tradeState = update.isChangeCommand;
    TInstState notice{};
    SetText(notice.instID, FieldText(update.instID));
    notice.tradeState = update.isChangeCommand;
    Publish(m_marketFlow, kYqInstStateNoticeTid, notice);
}

void CExchange::QueryExchangeState(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryExchangeState filter{};
    request.GetRecord(filter);
    std::vector<TExchangeState> found;
    if (Matches(FieldText(filter.exchangeID), FieldText(m_day.exchange.exchangeID))) {
        TExchangeState& state = found.emplace_back();
        SetText(state.exchangeID, FieldText(m_day.exchange.exchangeID));
        state.state = m_day.exchange.state;
    }
    AnswerRecords<TExchangeState>(id, request, 0x000004A2, found);
}

void CExchange::QueryMarketState(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryMarketState filter{};
    request.GetRecord(filter);
    std::vector<TMarketState> found;
    for (const TMarket& market : m_day.markets) {
        if (!Matches(FieldText(filter.marketID), FieldText(market.marketID))) continue;
        TMarketState& state = found.emplace_back();
        SetText(state.marketID, FieldText(market.marketID));
        state.marketState = market.marketState;
    }
    AnswerRecords<TMarketState>(id, request, 0x000009E2, found);
}

void CExchange::QueryInstrumentState(SessionId id, CSession&, const CXTPPackage& request) {
    TReqQryInstState filter{};
    request.GetRecord(filter);
    std::vector<TInstState> found;
    for (const CInstrumentConfig& instrument : m_day.instruments) {
        const TYuanQiInst& info = instrument.info;
        if (!Matches(FieldText(filter.instID), FieldText(info.instID)) || !Matches(FieldText(filter.marketID), FieldText(info.marketID))) continue;
        TInstState& state = found.emplace_back();
        SetText(state.instID, FieldText(info.instID));
        state.tradeState = info.tradeState;
    }
    AnswerRecords<TInstState>(id, request, 0x000004B2, found);
}

void CExchange::PublishBulletin(SessionId id, CSession& session, const CXTPPackage& request) {
    TTradeBulletinBoard bulletin{};
    const bool decoded = request.GetRecord(bulletin);
    const std::string_view addressee = FieldText(bulletin.memberID);
    int member = -1;
    for (std::size_t m = 0; m < m_day.members.size(); ++m) {
        if (FieldText(m_day.members[m].memberID) == addressee) member = static_cast<int>(m);
    }
    if (!decoded || (!addressee.empty() && member < 0)) return Answer(id, request, decoded ? &bulletin : nullptr, Rsp::kMemberMismatch);

    bulletin.seqNo = static_cast<std::int32_t>(m_day.bulletins.size() + 1);
    SetText(bulletin.announceDate, m_day.tradeDate);
    m_clock.Format(bulletin.announceTime);
    SetText(bulletin.announcer, FieldText(m_users[session.user].record.userID));
    m_day.bulletins.push_back(bulletin);
    Answer(id, request, &bulletin, Rsp::kSuccess);
    // A bulletin for everyone goes on the market flow, one for a member on that member's flow.
    Publish(member < 0 ? m_marketFlow : MemberFlow(member), kBulletinNoticeTid, bulletin);
}

void CExchange::ForceTraderLogout(SessionId id, CSession&, const CXTPPackage& request) {
    TReqForceTraderLogout order{};
    const bool decoded = request.GetRecord(order);
    const int trader = decoded ? FindTrader(FieldText(order.traderID)) : -1;
    Rsp result = Rsp::kSuccess;
    if (trader < 0) {
        result = Rsp::kUnknownTrader;
    } else if (!m_traders[trader].online) {
        result = Rsp::kTraderNotOnline;
    }
    Answer(id, request, decoded ? &order : nullptr, result);
    if (result != Rsp::kSuccess) return;
    const SessionId target = m_traders[trader].session;
    ForgetSession(target);
    m_output.EndSession(target);
}

}  // namespace quorex::sim
