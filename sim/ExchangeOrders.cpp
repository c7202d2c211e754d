// Orders, cancels and continuous matching in the two-way bidding (Yq) market.
#include <cmath>
#include <cstdio>

#include "sim/ExchangeOrders.h"
#include "sim/Quotation.h"
#include "sim/Text.h"
#include "public/PackageTypes.h"

namespace quorex::sim {
namespace {

constexpr std::uint32_t kOrderReturnTid = tid::RtnYqOrder;
constexpr std::uint32_t kCancelReturnTid = tid::RtnYqOrderCancel;
constexpr std::uint32_t kMatchReturnTid = tid::RtnYqMatch;
constexpr std::uint32_t kQuotationTid = tid::YqQuotation;

// Order numbers are the trade date without its century and the order's sequence of the day, 14
// digits; match numbers the same with 10 digits of sequence, 16 in all.
template <std::size_t N>
void FormatNumber(char (&out)[N], const std::string& tradeDate, std::uint64_t sequence) {
    std::snprintf(out, N, "%.6s%0*llu", tradeDate.c_str() + 2, static_cast<int>(N - 1 - 6),
                  static_cast<unsigned long long>(sequence));
}

// The local order number as a number: 1 to 14 decimal digits; -1 for anything else.
long long LocalOrderNumber(std::string_view text) {
    if (text.empty() || text.size() > 14) return -1;
    long long value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return -1;
        value = value * 10 + (c - '0');
    }
    return value;
}

bool OrderKindOf(const TYqOrder& record, OrderKind& kind) {
    const char side = record.buyOrSell, flag = record.offSetFlag, pledge = record.pledgeFlag;
    if (pledge != kPledgeDeposit && pledge != kPledgeIndenture) return false;
    const bool deposit = pledge == kPledgeDeposit;
    if (side == kBuy && flag == kOpen && deposit) return kind = OrderKind::kOpenLongDeposit, true;
    if (side == kSell && flag == kOpen) return kind = deposit ? OrderKind::kOpenShortDeposit : OrderKind::kOpenShortIndenture, true;
    if (side == kSell && flag == kOffset && deposit) return kind = OrderKind::kCloseLong, true;
    if (side == kBuy && flag == kOffset) return kind = deposit ? OrderKind::kCloseShortDeposit : OrderKind::kCloseShortIndenture, true;
    return false;
}

}  // namespace

bool CExchangeOrders::IsTradable(int instrument) const {
    const TYuanQiInst& info = m_state.day.instruments[instrument].info;
    const int market = m_state.FindMarket(FieldText(info.marketID));
    return m_state.day.exchange.state == kStateTrading && market >= 0 && m_state.day.markets[market].marketState == kStateTrading &&
           info.tradeState == kStateTrading;
}

Rsp CExchangeOrders::ValidateOrder(const CExchangeSession& session, COrder& order) const {
    const TYqOrder& record = order.record;
    const CTraderState& trader = m_state.traders[session.user];
    if (FieldText(record.traderID) != FieldText(trader.record.traderID)) return Rsp::kNotTheSessionsUser;
    if (FieldText(record.memberID) != FieldText(trader.record.memberID)) return Rsp::kMemberMismatch;
    order.instrument = m_state.FindInstrument(FieldText(record.instID));
    if (order.instrument < 0) return Rsp::kUnknownInstrument;
    if (!IsTradable(order.instrument)) return Rsp::kNotTrading;
    if (!OrderKindOf(record, order.kind)) return Rsp::kBadOrderCodes;
    const TYuanQiInst& info = m_state.day.instruments[order.instrument].info;
    if (!(record.price >= info.lowerLimit && record.price <= info.upperLimit)) return Rsp::kPriceOutOfLimits;
    const double ticks = record.price / info.tick;
    if (std::fabs(ticks - std::round(ticks)) > 1e-6) return Rsp::kPriceOffTick;
    order.priceTicks = std::llround(ticks);
    if (record.amount <= 0 || record.amount < info.minHand || record.amount > info.maxHand) return Rsp::kBadAmount;
    if (LocalOrderNumber(FieldText(record.localOrderNo)) <= trader.lastLocalOrderNo) return Rsp::kLocalOrderNoNotAbove;
    order.client = m_state.accounts.FindClient(FieldText(record.clientID));
    if (order.client < 0 || FieldText(m_state.accounts.Client(order.client).memberID) != FieldText(record.memberID)) return Rsp::kUnknownClient;
    return Rsp::kSuccess;
}

void CExchangeOrders::PlaceOrder(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    COrder order;
    if (!request.GetRecord(order.record)) return m_replies.Answer<TYqOrder>(id, request, nullptr, Rsp::kBadOrderCodes);
    // The plain order request always carries one indenture entry, an empty one for a deposit.
    std::vector<TYqFrznElctIndenture> indentures;
    const CFieldRange listed = request.GetField(RecordTraits<TYqFrznElctIndenture>::kFieldID);
    for (int k = 0; k < listed.Count(); ++k) {
        TYqFrznElctIndenture entry{};
        listed.Decode(k, &entry);
        if (!FieldText(entry.indentNo).empty()) indentures.push_back(entry);
    }
    order.trader = session.user;
    Rsp result = ValidateOrder(session, order);
    const bool wantsIndentures = order.kind == OrderKind::kOpenShortIndenture || order.kind == OrderKind::kCloseShortIndenture;
    if (result == Rsp::kSuccess && !wantsIndentures && !indentures.empty()) result = Rsp::kBadOrderCodes;
    if (result == Rsp::kSuccess) result = m_state.accounts.Reserve(order, indentures);
    if (result != Rsp::kSuccess) return m_replies.Answer(id, request, &order.record, result);

    CTraderState& trader = m_state.traders[session.user];
    trader.lastLocalOrderNo = LocalOrderNumber(FieldText(order.record.localOrderNo));
    // Kept as 14 digits with leading zeros; the value has at most 14 digits.
    long long digits = trader.lastLocalOrderNo;
    for (int i = 13; i >= 0; --i, digits /= 10) trader.lastLocalOrderText[i] = static_cast<char>('0' + digits % 10);

    TYqOrder& record = order.record;
    FormatNumber(record.orderNo, m_state.day.tradeDate, m_state.orders.size() + 1);
    record.accountType = m_state.accounts.Client(order.client).accountType;
    SetText(record.applyDate, m_state.day.tradeDate);
    m_state.Stamp(record.applyTime);
    record.remainAmount = record.amount;
    record.status = kStatusUnmatched;
    SetText(record.cancelTime, "");
    SetText(record.cancelID, "");
    const std::size_t orderId = m_state.orders.size();
    m_state.orders.push_back(std::move(order));

    m_replies.Answer(id, request, &m_state.orders[orderId].record, Rsp::kSuccess);
    PublishOrderReturn(kOrderReturnTid, m_state.orders[orderId]);
    Match(orderId);
    PublishQuotation(m_state.orders[orderId].instrument);
}

void CExchangeOrders::Match(std::size_t incomingId) {
    COrder& incoming = m_state.orders[incomingId];
    CInstrumentState& instrument = m_state.instruments[incoming.instrument];
    const TYuanQiInst& info = m_state.day.instruments[incoming.instrument].info;
    const bool buy = incoming.record.buyOrSell == kBuy;
    const int left = instrument.book.Match(buy, incoming.priceTicks, incoming.record.remainAmount,
                                           [&](COrderBook::OrderId restingId, int volume, std::int64_t ticks) {
        const double price = static_cast<double>(ticks) * info.tick;
        const std::uint32_t matchNumber = ++m_state.matchCount;
        COrder& resting = m_state.orders[restingId];
        RecordMatch(resting, volume, price, matchNumber, m_state.accounts.Fill(resting, volume, price));
        RecordMatch(incoming, volume, price, matchNumber, m_state.accounts.Fill(incoming, volume, price));
        ApplyMatch(instrument.quotation, price, volume, info.unit);
    });
    if (left > 0) instrument.book.Insert(static_cast<COrderBook::OrderId>(incomingId), buy, incoming.priceTicks, left);
}

void CExchangeOrders::RecordMatch(COrder& order, int volume, double price, std::uint32_t matchNumber, double profit) {
    TYqOrder& record = order.record;
    record.remainAmount -= volume;
    record.status = record.remainAmount == 0 ? kStatusMatched : kStatusPartlyMatched;

    TYqMatch& match = m_state.matches.emplace_back();
    FormatNumber(match.matchNo, m_state.day.tradeDate, matchNumber);
    match.buyOrSell = record.buyOrSell;
    SetText(match.clientID, FieldText(record.clientID));
    match.accountType = record.accountType;
    SetText(match.instID, FieldText(record.instID));
    SetText(match.memberID, FieldText(record.memberID));
    match.offsetFlag = record.offSetFlag;
    match.pledgeFlag = record.pledgeFlag;
    match.price = price;
    match.volume = volume;
    match.offsetProfit = profit;
    SetText(match.orderNo, FieldText(record.orderNo));
    SetText(match.matchDate, m_state.day.tradeDate);
    m_state.Stamp(match.matchTime);
    SetText(match.traderID, FieldText(record.traderID));
    SetText(match.localOrderNo, FieldText(record.localOrderNo));

    m_replies.Publish(*m_state.traders[order.trader].privateFlow, kMatchReturnTid, match);
    m_replies.Publish(m_state.monitorPrivateFlow, kMatchReturnTid, match);
    PublishOrderReturn(kOrderReturnTid, order);
}

void CExchangeOrders::PublishOrderReturn(std::uint32_t tid, const COrder& order) {
    m_replies.Publish(*m_state.traders[order.trader].privateFlow, tid, order.record);
    m_replies.Publish(m_state.monitorPrivateFlow, tid, order.record);
}

void CExchangeOrders::PublishQuotation(int instrument) {
    CInstrumentState& state = m_state.instruments[instrument];
    TYqQuotation& quotation = state.quotation;
    ApplyBook(quotation, state.book, m_state.day.instruments[instrument].info.tick);
    quotation.Posi = m_state.accounts.OpenInterest(instrument);
    m_state.Stamp(quotation.quoteTime);
    ++quotation.sequenceNo;
    m_replies.Publish(m_state.marketFlow, kQuotationTid, quotation);
}

void CExchangeOrders::Cancel(COrder& order, char status, std::string_view cancelID) {
    m_state.accounts.Release(order);
    m_state.instruments[order.instrument].book.Erase(static_cast<COrderBook::OrderId>(&order - m_state.orders.data()),
                                               order.record.buyOrSell == kBuy, order.priceTicks);
    order.record.status = status;
    m_state.Stamp(order.record.cancelTime);
    SetText(order.record.cancelID, cancelID);
    PublishOrderReturn(kCancelReturnTid, order);
    PublishQuotation(order.instrument);
}

namespace {

// The order named by an order number of this day, or nothing.
COrder* FindOrder(std::vector<COrder>& orders, std::string_view orderNo) {
    if (orderNo.size() != 14) return nullptr;
    std::uint64_t sequence = 0;
    for (const char c : orderNo.substr(6)) {
        if (c < '0' || c > '9') return nullptr;
        sequence = sequence * 10 + static_cast<std::uint64_t>(c - '0');
    }
    if (sequence == 0 || sequence > orders.size()) return nullptr;
    COrder& order = orders[sequence - 1];
    return FieldText(order.record.orderNo) == orderNo ? &order : nullptr;
}

}  // namespace

void CExchangeOrders::CancelOrder(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TYqOrderCancel cancel{};
    if (!request.GetRecord(cancel)) return m_replies.Answer<TYqOrderCancel>(id, request, nullptr, Rsp::kUnknownOrder);
    const TTrader& trader = m_state.traders[session.user].record;
    COrder* order = FindOrder(m_state.orders, FieldText(cancel.orderNo));
    Rsp result = Rsp::kSuccess;
    if (FieldText(cancel.traderID) != FieldText(trader.traderID)) {
        result = Rsp::kNotTheSessionsUser;
    } else if (order == nullptr) {
        result = Rsp::kUnknownOrder;
    } else if (FieldText(order->record.memberID) != FieldText(trader.memberID)) {
        result = Rsp::kNotYourOrder;
    } else if (!IsCancellable(order->record.status)) {
        result = Rsp::kOrderFinished;
    }
    m_replies.Answer(id, request, &cancel, result);
    if (result == Rsp::kSuccess) Cancel(*order, kStatusCancelled, FieldText(trader.traderID));
}

bool CExchangeOrders::MonitorPasswordMatches(const CExchangeSession& session, const CXTPPackage& request) const {
    TUserPassword credentials{};
    const TUser& user = m_state.users[session.user].record;
    return request.GetRecord(credentials) && FieldText(credentials.userID) == FieldText(user.userID) &&
           FieldText(credentials.password) == FieldText(user.password);
}

void CExchangeOrders::ForceCancelOrder(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TYqOrderCancel cancel{};
    const bool decoded = request.GetRecord(cancel);
    COrder* order = decoded ? FindOrder(m_state.orders, FieldText(cancel.orderNo)) : nullptr;
    Rsp result = Rsp::kSuccess;
    if (!MonitorPasswordMatches(session, request)) {
        result = Rsp::kWrongPassword;
    } else if (order == nullptr) {
        result = Rsp::kUnknownOrder;
    } else if (!IsCancellable(order->record.status)) {
        result = Rsp::kOrderFinished;
    }
    m_replies.Answer(id, request, decoded ? &cancel : nullptr, result);
    if (result == Rsp::kSuccess) Cancel(*order, kStatusForceCancelled, FieldText(m_state.users[session.user].record.userID));
}

void CExchangeOrders::ForceCancelByFilter(SessionId id, CExchangeSession& session, const CXTPPackage& request) {
    TReqOrderForceCancel filter{};
    const bool decoded = request.GetRecord(filter);
    if (!decoded) return m_replies.Answer<TReqOrderForceCancel>(id, request, nullptr, Rsp::kUnknownOrder);
    m_replies.Answer(id, request, &filter, Rsp::kSuccess);
    for (COrder& order : m_state.orders) {
        const TYqOrder& record = order.record;
        const std::string_view market = FieldText(m_state.day.instruments[order.instrument].info.marketID);
        if (!IsCancellable(record.status) || !Matches(FieldText(filter.marketID), market) ||
            !Matches(FieldText(filter.instID), FieldText(record.instID)) || !Matches(FieldText(filter.clientID), FieldText(record.clientID)) ||
            !MatchesChar(filter.direction, record.buyOrSell)) {
            continue;
        }
        Cancel(order, kStatusForceCancelled, FieldText(m_state.users[session.user].record.userID));
    }
}

}  // namespace quorex::sim
