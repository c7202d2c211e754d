// Open positions marked to market, as the position and capital queries answer them.
//
// A side of a member position is worth what closing all of it at the mark price would book
// (ProfitAgainstAverage, the formula that books a transfer): longDummyProfit is
// (mark - average opening price) * lots * unit of the long lots, shortDummyProfit the mirror for
// the short lots, dummyProfit their sum. The mark price is the instrument's last trade price of
// the day, or its reference price before its first trade. An account's capital carries the sums
// over its member positions: the sides that gain in todayPseudoReturn, the sides that lose, as a
// positive amount, in todayPseudoLost; its available balance does not count them.
//
// Marks follow from the day's matches alone, never from the time of asking, so a day carried on
// from its request journal answers with the same figures. Pure functions; any thread.
#pragma once

#include <span>
#include <vector>

#include "quorex/Records.h"
#include "sim/ExchangeState.h"

namespace quorex::sim {

// The last trade price of the instrument today, or its reference price before the first trade.
double MarkPrice(const CExchangeState& state, int instrument);

// Fills the three floating profit members of a member position from its lots and turnovers.
void MarkToMarket(TYqMemberPosi& position, double markPrice, int unit);

// Every member position of the day, marked at its instrument's mark price.
std::vector<TYqMemberPosi> MarkedMemberPositions(const CExchangeState& state);

// Sets todayPseudoReturn and todayPseudoLost of an account from the marked member positions of
// the same member and account type.
void SetFloatingProfit(TMemberCapital& capital, std::span<const TYqMemberPosi> marked);

}  // namespace quorex::sim
