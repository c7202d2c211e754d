#include "sim/OrderBook.h"

#include <algorithm>

namespace quorex::sim {

void COrderBook::Insert(OrderId order, bool buy, std::int64_t priceTicks, int amount) {
    Level& level = buy ? m_bids[priceTicks] : m_asks[priceTicks];
    level.entries.push_back({order, amount});
    level.total += amount;
    ++m_resting;
}

bool COrderBook::Erase(OrderId order, bool buy, std::int64_t priceTicks) {
    const auto erase = [&](auto& side) {
        const auto level = side.find(priceTicks);
        if (level == side.end()) return false;
        auto& entries = level->second.entries;
        const auto entry = std::find_if(entries.begin(), entries.end(), [&](const Entry& e) { return e.order == order; });
        if (entry == entries.end()) return false;
        level->second.total -= entry->remaining;
        entries.erase(entry);
        if (entries.empty()) side.erase(level);
        --m_resting;
        return true;
    };
    return buy ? erase(m_bids) : erase(m_asks);
}

template <class Side>
int COrderBook::MatchSide(Side& side, bool incomingBuy, std::int64_t limitTicks, int amount, const FillVisitor& onFill) {
    while (amount > 0 && !side.empty()) {
        auto best = side.begin();
        const std::int64_t price = best->first;
        // A buy crosses asks at or below its limit; a sell crosses bids at or above it.
        if (incomingBuy ? price > limitTicks : price < limitTicks) break;
        Level& level = best->second;
        Entry& resting = level.entries.front();
        const int volume = std::min(amount, resting.remaining);
        amount -= volume;
        resting.remaining -= volume;
        level.total -= volume;
        const OrderId restingOrder = resting.order;
        if (resting.remaining == 0) {
            level.entries.pop_front();
            --m_resting;
            if (level.entries.empty()) side.erase(best);
        }
        onFill(restingOrder, volume, price);
    }
    return amount;
}

int COrderBook::Match(bool incomingBuy, std::int64_t limitTicks, int amount, const FillVisitor& onFill) {
    return incomingBuy ? MatchSide(m_asks, true, limitTicks, amount, onFill)
                       : MatchSide(m_bids, false, limitTicks, amount, onFill);
}

void COrderBook::VisitLevels(bool buy, int depth,
                             const std::function<void(std::int64_t priceTicks, std::int64_t total)>& visit) const {
    const auto walk = [&](const auto& side) {
        int n = 0;
        for (auto level = side.begin(); level != side.end() && n < depth; ++level, ++n) visit(level->first, level->second.total);
    };
    if (buy) {
        walk(m_bids);
    } else {
        walk(m_asks);
    }
}

}  // namespace quorex::sim
