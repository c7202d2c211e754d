// COrderBook: the resting orders of one instrument, by price and then by time (arrival order), and
// continuous matching of an incoming order against them.
//
// Prices are whole numbers of ticks, so that levels compare exactly. Each resting entry keeps its
// order's remaining amount; a level keeps the sum of its entries for the five-level quotation.
// Thread contract: one thread (the exchange's). Owns only its entries; orders are named by ID.
#pragma once

#include <cstdint>
#include <deque>
#include <functional>
#include <map>

namespace quorex::sim {

class COrderBook {
public:
    using OrderId = std::uint32_t;
    // Told of each fill: the resting order, the volume, and its price (the resting order's).
    using FillVisitor = std::function<void(OrderId resting, int volume, std::int64_t priceTicks)>;

    // Puts an order with amount > 0 at the back of its price level.
    void Insert(OrderId order, bool buy, std::int64_t priceTicks, int amount);
    // Takes an order out; false when it does not rest at that side and price.
    bool Erase(OrderId order, bool buy, std::int64_t priceTicks);
    // Matches an incoming order against the other side, best price first and in arrival order
    // within a price, as long as the prices cross and amount remains. Resting orders that are
    // filled leave the book. Returns the amount left of the incoming order.
    int Match(bool incomingBuy, std::int64_t limitTicks, int amount, const FillVisitor& onFill);

    // Visits up to depth levels of one side, best first: price and total remaining amount.
    void VisitLevels(bool buy, int depth, const std::function<void(std::int64_t priceTicks, std::int64_t total)>& visit) const;
    bool IsEmpty() const { return m_bids.empty() && m_asks.empty(); }
    std::size_t RestingCount() const { return m_resting; }

private:
    struct Entry {
        OrderId order;
        int remaining;
    };
    struct Level {
        std::deque<Entry> entries;
        std::int64_t total = 0;
    };
    // Bids best (highest) first, asks best (lowest) first.
    std::map<std::int64_t, Level, std::greater<>> m_bids;
    std::map<std::int64_t, Level, std::less<>> m_asks;
    std::size_t m_resting = 0;

    template <class Side>
    int MatchSide(Side& side, bool incomingBuy, std::int64_t limitTicks, int amount, const FillVisitor& onFill);
};

}  // namespace quorex::sim
