// The trading day's state at the start of the day, and the look-ups by code.
#include "sim/ExchangeState.h"

#include "sim/Quotation.h"
#include "sim/Text.h"
#include "public/FlowSeries.h"

namespace quorex::sim {
CExchangeState::CExchangeState(CTradingDay configured) : day(std::move(configured)), accounts(day) {
    for (std::size_t i = 0; i < day.members.size(); ++i) memberFlows.push_back(std::make_unique<CSequencedFlow>(kMemberSeries));
    for (const TTrader& trader : day.traders) {
        CTraderState& state = traders.emplace_back();
        state.record = trader;
        for (std::size_t m = 0; m < day.members.size(); ++m) {
            if (FieldText(day.members[m].memberID) == FieldText(trader.memberID)) state.member = static_cast<int>(m);
        }
        state.privateFlow = std::make_unique<CSequencedFlow>(kPrivateSeries);
    }
    for (const TUser& user : day.users) users.push_back({user, false, 0});
    instruments.resize(day.instruments.size());
    for (std::size_t i = 0; i < day.instruments.size(); ++i) {
        const TYqLastQuotation* previous = nullptr;
        for (const TYqLastQuotation& last : day.lastQuotations) {
            if (FieldText(last.instID) == FieldText(day.instruments[i].info.instID)) previous = &last;
        }
        TYqQuotation& quotation = instruments[i].quotation;
        quotation = OpeningQuotation(day.instruments[i], previous);
        quotation.Posi = accounts.OpenInterest(static_cast<int>(i));
        SetText(quotation.quoteDate, day.tradeDate);
    }
    for (TTradeBulletinBoard& bulletin : day.bulletins) {
        if (FieldText(bulletin.announceDate).empty()) SetText(bulletin.announceDate, day.tradeDate);
    }
}

int CExchangeState::FindInstrument(std::string_view instID) const {
    for (std::size_t i = 0; i < day.instruments.size(); ++i) {
        if (FieldText(day.instruments[i].info.instID) == instID) return static_cast<int>(i);
    }
    return -1;
}

int CExchangeState::FindTrader(std::string_view traderID) const {
    for (std::size_t i = 0; i < traders.size(); ++i) {
        if (FieldText(traders[i].record.traderID) == traderID) return static_cast<int>(i);
    }
    return -1;
}

int CExchangeState::FindUser(std::string_view userID) const {
    for (std::size_t i = 0; i < users.size(); ++i) {
        if (FieldText(users[i].record.userID) == userID) return static_cast<int>(i);
    }
    return -1;
}

int CExchangeState::FindMarket(std::string_view marketID) const {
    for (std::size_t i = 0; i < day.markets.size(); ++i) {
        if (FieldText(day.markets[i].marketID) == marketID) return static_cast<int>(i);
    }
    return -1;
}

}  // namespace quorex::sim
