#include "sim/PositionMarks.h"

#include "sim/Text.h"

namespace quorex::sim {
namespace {

// A side without lots has no average and is worth nothing.
double SideProfit(double markPrice, double turnOver, int lots, int unit, bool isLong) {
    return lots == 0 ? 0.0 : ProfitAgainstAverage(markPrice, turnOver / lots, lots, unit, isLong);
}

}  // namespace

double MarkPrice(const CExchangeState& state, int instrument) {
    const TYqQuotation& quotation = state.instruments[instrument].quotation;
    return quotation.volume > 0 ? quotation.lastest : state.day.instruments[instrument].info.refPrice;
}

void MarkToMarket(TYqMemberPosi& position, double markPrice, int unit) {
    position.longDummyProfit = SideProfit(markPrice, position.longTurnOver, position.longPosi, unit, true);
    position.shortDummyProfit = SideProfit(markPrice, position.shortTurnOver, position.shortPosi, unit, false);
    position.dummyProfit = position.longDummyProfit + position.shortDummyProfit;
}

std::vector<TYqMemberPosi> MarkedMemberPositions(const CExchangeState& state) {
    std::vector<TYqMemberPosi> positions = state.accounts.MemberPositions();
    for (TYqMemberPosi& position : positions) {
        const int instrument = state.FindInstrument(FieldText(position.instID));
        MarkToMarket(position, MarkPrice(state, instrument), state.day.instruments[instrument].info.unit);
    }
    return positions;
}

void SetFloatingProfit(TMemberCapital& capital, std::span<const TYqMemberPosi> marked) {
    capital.todayPseudoReturn = 0;
    capital.todayPseudoLost = 0;
    for (const TYqMemberPosi& position : marked) {
        if (FieldText(position.memberID) != FieldText(capital.memberID) || position.accountType != capital.accountType) continue;
        for (const double side : {position.longDummyProfit, position.shortDummyProfit}) {
            if (side > 0) capital.todayPseudoReturn += side;
            if (side < 0) capital.todayPseudoLost -= side;
        }
    }
}

}  // namespace quorex::sim
