// CAccounts: the members' capital, the clients' positions and the electronic indentures of the
// trading day, and what orders and fills do to them.
//
// Capital: todayBalance is the available amount, lastBalance + todayIn - todayOut + profit -
// lastOccupied - todayOccupied - frozen. An open order against a deposit freezes price * amount *
// unit * marginRate; a fill turns the frozen part into occupied deposit at the fill price, and a
// transfer releases the deposit its holding occupied and books the profit against the average
// opening price. Indentures move from available to frozen to occupied (new sell contracts) and
// back (transfers of them). What the open lots would gain or lose at today's prices is not booked
// here: the queries mark them (PositionMarks).
//
// Thread contract: one thread (the exchange's). Owns its records; instruments are borrowed from
// the trading day, which outlives the accounts.
#pragma once

#include <map>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

#include "sim/Order.h"
#include "sim/Responses.h"
#include "sim/TradingDay.h"

namespace quorex::sim {

// The profit of closing volume lots at price against their average opening price, for a long
// holding or a short one.
inline double ProfitAgainstAverage(double price, double averagePrice, int volume, int unit, bool isLong) {
    const double perLot = isLong ? price - averagePrice : averagePrice - price;
    return perLot * volume * unit;
}

class CAccounts {
public:
    explicit CAccounts(const CTradingDay& day);

    int FindClient(std::string_view clientID) const;
    const TClient& Client(int client) const { return m_clients[client]; }

    // Checks that the order's client can give the guarantee and hold the position the order asks
    // for, and freezes it: deposit, indentures (listed in the request) or holdings to transfer.
    // Nothing changes when the result is not kSuccess.
    Rsp Reserve(COrder& order, std::span<const TYqFrznElctIndenture> indentures);
    // Gives back what the order's unmatched part holds frozen (the order is being cancelled).
    void Release(COrder& order);
    // Books a fill of volume at price against the order (before its remainAmount is reduced) and
    // returns the profit of a transfer (0 for a new contract).
    double Fill(COrder& order, int volume, double price);

    // Query views.
    const std::vector<TMemberCapital>& Capitals() const { return m_capitals; }
    const TMemberCapital* Capital(std::string_view memberID, char accountType) const;
    const std::vector<TElctIndenture>& Indentures() const { return m_indentures; }
    // Visits every client position, ordered by client and instrument.
    template <class Visit>
    void ForEachClientPosition(Visit visit) const {
        for (const auto& [key, position] : m_positions) visit(position.record);
    }
    // The member positions: client positions summed per member, account type and instrument, in
    // the order of their first client position; the floating profit members are left 0.
    std::vector<TYqMemberPosi> MemberPositions() const;
    int OpenInterest(int instrument) const { return m_openInterest[instrument]; }

private:
    struct CPosition {
        TYqClientPosi record{};
        int shortIndent = 0;  // part of shortPosi held against indentures
        int offsetShortIndentFrozen = 0;  // part of offsetShortFrozen for indenture transfers
        double longCost = 0;  // price * volume of the open long lots
        double shortDepositCost = 0;
        double shortIndentCost = 0;
        double longMargin = 0;  // deposit occupied by the long lots
        double shortMargin = 0;  // deposit occupied by the short lots held against deposits
    };

    CPosition& PositionOf(int client, int instrument);
    TMemberCapital* CapitalOf(int client);
    double MarginFor(int instrument, double price, int amount) const;
    Rsp ReserveIndentures(COrder& order, std::span<const TYqFrznElctIndenture> requested, bool opening);
    int FindIndenture(std::string_view indentNo) const;
    static void Recompute(TMemberCapital& capital);
    static void SyncTotals(CPosition& position);

    const CTradingDay& m_day;
    std::vector<TClient> m_clients;
    std::vector<TMemberCapital> m_capitals;
    std::vector<TElctIndenture> m_indentures;
    std::map<std::pair<int, int>, CPosition> m_positions;  // (client, instrument)
    std::vector<int> m_openInterest;                       // per instrument
};

}  // namespace quorex::sim
