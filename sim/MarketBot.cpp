#include "sim/MarketBot.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "sim/RequestBuilder.h"
#include "sim/Text.h"
#include "public/PackageTypes.h"

namespace quorex::sim {

CMarketBot::CMarketBot(CExchange& exchange, SessionId session, std::uint32_t seed)
    : m_exchange(exchange), m_session(session), m_random(seed) {}

bool CMarketBot::LogIn() {
    const CTradingDay& day = m_exchange.Day();
    const auto trader = std::find_if(day.traders.begin(), day.traders.end(),
                                     [&](const TTrader& t) { return FieldText(t.traderID) == day.bot.traderID; });
    if (trader == day.traders.end()) return false;
    TReqTraderLogin login{};
    SetText(login.traderID, FieldText(trader->traderID));
    SetText(login.memberID, FieldText(trader->memberID));
    SetText(login.password, FieldText(trader->password));
    SetText(login.tradeDate, day.tradeDate);
    // The bot never reads its flows: it subscribes at their ends.
    const TSequencePoint none[3] = {{3, INT32_MAX}, {2, INT32_MAX}, {4, INT32_MAX}};
    if (!BuildRequest(m_build, m_request, tid::ReqTraderLogin, nullptr, login, none[0], none[1], none[2])) return false;
    m_exchange.Handle(m_session, m_request);
    if (!m_exchange.IsLoggedIn(m_session)) return false;
    // The day may have been resumed after a restart: the bot carries on with its numbering and
    // its resting orders, or the exchange would refuse every order it places.
    m_localOrderNo = m_exchange.LastLocalOrderNo(day.bot.traderID);
    m_orders.clear();
    for (std::size_t id = 0; id < m_exchange.OrderCount(); ++id) {
        const TYqOrder& order = m_exchange.Order(id).record;
        if (FieldText(order.traderID) == day.bot.traderID && IsCancellable(order.status)) m_orders.push_back(id);
    }
    return true;
}

void CMarketBot::Step() {
    if (!m_exchange.IsLoggedIn(m_session) && !LogIn()) return;
    while (!m_orders.empty() && !IsCancellable(m_exchange.Order(m_orders.front()).record.status)) m_orders.pop_front();

    std::vector<int> tradable;
    const CTradingDay& day = m_exchange.Day();
    for (std::size_t i = 0; i < day.instruments.size(); ++i) {
        if (day.instruments[i].info.tradeState == kStateTrading) tradable.push_back(static_cast<int>(i));
    }
    if (tradable.empty()) return;
    const int roll = Random(0, 99);
    if (m_orders.size() > kMaxRestingOrders || (roll < 25 && !m_orders.empty())) return CancelOldest();
    Place(tradable[static_cast<std::size_t>(Random(0, static_cast<int>(tradable.size()) - 1))], roll < 55);
}

void CMarketBot::CancelOldest() {
    const TYqOrder& order = m_exchange.Order(m_orders.front()).record;
    m_orders.pop_front();
    TYqOrderCancel cancel{};
    SetText(cancel.orderNo, FieldText(order.orderNo));
    SetText(cancel.instID, FieldText(order.instID));
    SetText(cancel.clientID, FieldText(order.clientID));
    SetText(cancel.memberID, FieldText(order.memberID));
    SetText(cancel.traderID, FieldText(order.traderID));
    if (BuildRequest(m_build, m_request, tid::ReqYqOrderCancel, nullptr, cancel)) m_exchange.Handle(m_session, m_request);
}

int CMarketBot::Available(int instrument, bool closingLong) const {
    const CTradingDay& day = m_exchange.Day();
    const std::string_view instID = FieldText(day.instruments[instrument].info.instID);
    int available = 0;
    m_exchange.Accounts().ForEachClientPosition([&](const TYqClientPosi& position) {
        if (FieldText(position.clientID) != day.bot.clientID || FieldText(position.instID) != instID) return;
        available = closingLong ? position.longPosi - position.offsetLongFrozen
                                : position.shortPosi - position.indentPosi - position.offsetShortFrozen;
    });
    return available;
}

void CMarketBot::Place(int instrument, bool aggressive) {
    const CTradingDay& day = m_exchange.Day();
    const TYuanQiInst& info = day.instruments[instrument].info;
    const TYqQuotation& quotation = m_exchange.Quotation(instrument);
    double mid = quotation.lastest > 0 ? quotation.lastest : quotation.lastAverage;
    if (quotation.bid1 > 0 && quotation.ask1 > 0) mid = (quotation.bid1 + quotation.ask1) / 2;
    const bool buy = Random(0, 1) == 0;
    double price;
    int amount;
    if (aggressive) {
        // Take the other side's best price, or step just through the middle when it is empty.
        const double best = buy ? quotation.ask1 : quotation.bid1;
        price = best > 0 ? best : mid + (buy ? info.tick : -info.tick);
        amount = Random(1, 5);
    } else {
        const int ticks = Random(1, 5);
        price = mid + (buy ? -ticks : ticks) * info.tick;
        amount = Random(1, 10);
    }
    price = std::clamp(std::round(price / info.tick) * info.tick, info.lowerLimit, info.upperLimit);
    amount = std::clamp(amount, info.minHand, info.maxHand);

    TYqOrder order{};
    const auto trader = std::find_if(day.traders.begin(), day.traders.end(),
                                     [&](const TTrader& t) { return FieldText(t.traderID) == day.bot.traderID; });
    SetText(order.traderID, day.bot.traderID);
    SetText(order.memberID, FieldText(trader->memberID));
    SetText(order.clientID, day.bot.clientID);
    SetText(order.instID, FieldText(info.instID));
    order.buyOrSell = buy ? kBuy : kSell;
    // A holding in the other direction is transferred before anything new is opened.
    order.offSetFlag = Available(instrument, !buy) >= amount ? kOffset : kOpen;
    order.pledgeFlag = kPledgeDeposit;
    order.price = price;
    order.amount = amount;
    const std::string number = std::to_string(++m_localOrderNo);
    SetText(order.localOrderNo, std::string(14 - number.size(), '0') + number);

    const std::size_t id = m_exchange.OrderCount();
    if (!BuildRequest(m_build, m_request, tid::ReqYqOrder, nullptr, order)) return;
    m_exchange.Handle(m_session, m_request);
    if (m_exchange.OrderCount() > id && IsCancellable(m_exchange.Order(id).record.status)) m_orders.push_back(id);
}

}  // namespace quorex::sim
