// The 未成交单 page: rows that follow the 报单 page's copies while the orders can be cancelled,
// ticks on every row that stay through a cancel, and the row search at scale.
#include <gtest/gtest.h>

#include "OrderPagesTestSupport.h"

namespace kvt::test {
namespace {

using namespace std::chrono_literals;

class PageUnmatchedOrderTest : public ::testing::Test, public COrderPages {
protected:
    std::vector<std::string> ListedOrderNos() const {
        std::vector<std::string> orderNos;
        for (int row = 0; row < unmatched.RowCount(); ++row) orderNos.push_back(unmatched.CellText(row, 1));
        return orderNos;
    }
};

TEST_F(PageUnmatchedOrderTest, PartlyMatchedOrderStaysWithNewTextsAndLeavesWhenMatched) {
    Announce(MakeOrder("00000000000101", 'o'));
    ASSERT_EQ(unmatched.RowCount(), 1);
    EXPECT_EQ(&unmatched.OrderAt(0), &orders.OrderAt(0));
    EXPECT_EQ(unmatched.CellText(0, 2), "SR0601");
    EXPECT_EQ(unmatched.CellText(0, 8), "未成交");

    TYqOrder partly = MakeOrder("00000000000101", 'p');
    partly.remainAmount = 6;
    Announce(partly);
    ASSERT_EQ(unmatched.RowCount(), 1);
    EXPECT_EQ(unmatched.CellText(0, 7), "6");
    EXPECT_EQ(unmatched.CellText(0, 8), "部分成交");

    Announce(MakeOrder("00000000000101", 'c'));
    EXPECT_EQ(unmatched.RowCount(), 0);
    ASSERT_EQ(orders.RowCount(), 1);
    EXPECT_EQ(orders.CellText(0, 8), "完全成交");
    EXPECT_EQ(unmatchedRows.Take(), (std::vector<std::string>{"insert 0+1", "changed 0-0", "remove 0+1"}));
}

TEST_F(PageUnmatchedOrderTest, CancelledOrdersLeaveAndFinishedOrdersNeverArrive) {
    Announce(MakeOrder("00000000000101", 'o'));
    Announce(MakeOrder("00000000000102", 'p'));
    Announce(MakeOrder("00000000000103", 'c'));
    Announce(MakeOrder("00000000000104", 'f'));
    EXPECT_EQ(ListedOrderNos(), (std::vector<std::string>{"00000000000101", "00000000000102"}));

    Announce(MakeOrder("00000000000101", 'd'));
    EXPECT_EQ(ListedOrderNos(), (std::vector<std::string>{"00000000000102"}));
    EXPECT_EQ(orders.RowCount(), 4);
    EXPECT_EQ(orders.CellText(0, 8), "用户撤消");
}

TEST_F(PageUnmatchedOrderTest, TicksStayWithTheirRowsWhenARowAboveLeaves) {
    for (const char* orderNo : {"00000000000101", "00000000000102", "00000000000103", "00000000000104"}) {
        Announce(MakeOrder(orderNo, 'o'));
    }
    unmatched.OnCheckClicked(2, true);
    unmatched.OnCheckClicked(3, true);
    Announce(MakeOrder("00000000000102", 'c'));

    EXPECT_EQ(ListedOrderNos(), (std::vector<std::string>{"00000000000101", "00000000000103", "00000000000104"}));
    EXPECT_FALSE(unmatched.IsRowChecked(0));
    EXPECT_TRUE(unmatched.IsRowChecked(1));
    EXPECT_TRUE(unmatched.IsRowChecked(2));
    EXPECT_EQ(unmatched.RowOf(&orders.OrderAt(1)), -1);
    EXPECT_EQ(unmatched.RowOf(&orders.OrderAt(3)), 2);
}

TEST_F(PageUnmatchedOrderTest, AMessageWithoutACopyAddsNothing) {
    unmatched.OnMessage(WM_ORDER_RTN, 0, 0);
    EXPECT_EQ(unmatched.RowCount(), 0);
}

TEST_F(PageUnmatchedOrderTest, EveryRowTicksAndCancelCheckedKeepsTheTicks) {
    Announce(MakeOrder("00000000000101", 'o'));
    Announce(MakeOrder("00000000000102", 'p'));
    Announce(MakeOrder("00000000000103", 'o'));
    EXPECT_EQ(unmatched.MenuItems(), (std::vector<EOrderMenuItem>{EOrderMenuItem::CancelAll}));
    unmatched.OnCheckClicked(2, true);
    unmatched.OnCheckClicked(0, true);
    EXPECT_EQ(unmatched.MenuItems(), (std::vector<EOrderMenuItem>{EOrderMenuItem::CancelChecked, EOrderMenuItem::CancelAll}));

    unmatched.RunMenuItem(EOrderMenuItem::CancelChecked);
    harness.timers.Advance(50ms);

    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000101", "00000000000103"}));
    EXPECT_TRUE(unmatched.IsRowChecked(0));
    EXPECT_FALSE(unmatched.IsRowChecked(1));
    EXPECT_TRUE(unmatched.IsRowChecked(2));
    EXPECT_EQ(unmatched.RowCount(), 3);
}

TEST_F(PageUnmatchedOrderTest, CancelAllCancelsEveryListedOrderAfterTheConfirmation) {
    Announce(MakeOrder("00000000000101", 'o'));
    Announce(MakeOrder("00000000000102", 'c'));
    Announce(MakeOrder("00000000000103", 'p'));
    unmatched.RunMenuItem(EOrderMenuItem::CancelAll);
    harness.timers.RunAll();
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定撤销所有报单?");
    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000101", "00000000000103"}));
}

TEST_F(PageUnmatchedOrderTest, ManyOrdersAnnouncedThreeTimesKeepTheirRowsStraight) {
    constexpr int kOrders = 3000;
    auto orderNo = [](int i) {
        char text[16];
        std::snprintf(text, sizeof text, "%014d", i);
        return std::string(text);
    };
    for (int i = 0; i < kOrders; ++i) Announce(MakeOrder(orderNo(i).c_str(), 'o'));
    for (int i = 0; i < kOrders; ++i) Announce(MakeOrder(orderNo(i).c_str(), 'p'));
    // Every third order is matched, every third one cancelled; the rest stay.
    for (int i = 0; i < kOrders; ++i) {
        if (i % 3 != 2) Announce(MakeOrder(orderNo(i).c_str(), i % 3 == 0 ? 'c' : 'd'));
    }

    ASSERT_EQ(unmatched.RowCount(), kOrders / 3);
    for (int row = 0; row < unmatched.RowCount(); ++row) {
        ASSERT_EQ(unmatched.CellText(row, 1), orderNo(3 * row + 2)) << row;
        ASSERT_EQ(unmatched.RowOf(&unmatched.OrderAt(row)), row);
    }
    EXPECT_EQ(orders.RowCount(), kOrders);
}

}  // namespace
}  // namespace kvt::test
