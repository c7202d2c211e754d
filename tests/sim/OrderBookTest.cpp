#include "sim/OrderBook.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

namespace quorex::sim {
namespace {

using Fill = std::tuple<COrderBook::OrderId, int, std::int64_t>;

std::vector<Fill> MatchAll(COrderBook& book, bool buy, std::int64_t limit, int amount, int& left) {
    std::vector<Fill> fills;
    left = book.Match(buy, limit, amount, [&](COrderBook::OrderId order, int volume, std::int64_t price) {
        fills.emplace_back(order, volume, price);
    });
    return fills;
}

TEST(OrderBookTest, MatchesBestPriceFirstAndArrivalOrderWithinAPrice) {
    COrderBook book;
    book.Insert(1, false, 101, 5);
    book.Insert(2, false, 100, 2);
    book.Insert(3, false, 100, 3);
    int left = 0;
    const std::vector<Fill> fills = MatchAll(book, true, 101, 7, left);
    EXPECT_EQ(fills, (std::vector<Fill>{{2, 2, 100}, {3, 3, 100}, {1, 2, 101}}));
    EXPECT_EQ(left, 0);
    EXPECT_EQ(book.RestingCount(), 1u);
}

TEST(OrderBookTest, StopsWherePricesNoLongerCross) {
    COrderBook book;
    book.Insert(1, true, 99, 4);
    book.Insert(2, true, 98, 4);
    int left = 0;
    EXPECT_EQ(MatchAll(book, false, 99, 10, left), (std::vector<Fill>{{1, 4, 99}}));
    EXPECT_EQ(left, 6);
    EXPECT_TRUE(MatchAll(book, false, 100, 1, left).empty());
    EXPECT_EQ(left, 1);
}

TEST(OrderBookTest, LevelsSumTheirEntriesAndFollowFillsAndErasures) {
    COrderBook book;
    book.Insert(1, true, 100, 2);
    book.Insert(2, true, 100, 3);
    book.Insert(3, true, 97, 1);
    int left = 0;
    MatchAll(book, false, 100, 1, left);  // one lot off the first entry
    std::vector<std::pair<std::int64_t, std::int64_t>> levels;
    book.VisitLevels(true, 5, [&](std::int64_t price, std::int64_t total) { levels.emplace_back(price, total); });
    EXPECT_EQ(levels, (std::vector<std::pair<std::int64_t, std::int64_t>>{{100, 4}, {97, 1}}));
    EXPECT_TRUE(book.Erase(2, true, 100));
    EXPECT_FALSE(book.Erase(2, true, 100));
    EXPECT_FALSE(book.Erase(3, false, 97));  // wrong side
    levels.clear();
    book.VisitLevels(true, 1, [&](std::int64_t price, std::int64_t total) { levels.emplace_back(price, total); });
    EXPECT_EQ(levels, (std::vector<std::pair<std::int64_t, std::int64_t>>{{100, 1}}));
}

}  // namespace
}  // namespace quorex::sim
