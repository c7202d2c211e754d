// The 报单 page: rows in arrival order updated in place, the hand-over to 未成交单 and the tab
// control, ticks only on cancellable rows, paced cancels and the cancel answers' status texts.
#include <gtest/gtest.h>

#include "OrderPagesTestSupport.h"

namespace kvt::test {
namespace {

using namespace std::chrono_literals;

class PageOrderListTest : public ::testing::Test, public COrderPages {};

TEST_F(PageOrderListTest, ColumnsAreTheSeventeenOfTheOrderList) {
    const auto columns = orders.Columns();
    ASSERT_EQ(columns.size(), 17u);
    EXPECT_EQ(columns[0].title, "");
    EXPECT_EQ(columns[0].width, 16);
    EXPECT_EQ(columns[1].title, "报单号");
    EXPECT_EQ(columns[10].title, "履约保证");
    EXPECT_EQ(columns[10].width, 120);
    EXPECT_EQ(columns[16].title, "撤消员代码");
    EXPECT_TRUE(orders.HasCheckBoxes());
}

TEST_F(PageOrderListTest, NewOrderRowShowsEveryField) {
    TYqOrder order = MakeOrder("00000000000101", 'p');
    order.remainAmount = 4;
    order.buyOrSell = 's';
    quorex::SetText(order.cancelTime, "10:01:02");
    quorex::SetText(order.cancelID, "00010002");
    Announce(order);

    ASSERT_EQ(orders.RowCount(), 1);
    const std::vector<std::string> expected = {
        "",         "00000000000101", "SR0601",   "卖",       "新订",           "2350",     "10", "4", "部分成交",
        "00010001", "定金",           "20260105", "09:30:00", "00000000000042", "00010001", "10:01:02", "00010002"};
    for (int column = 0; column < 17; ++column) EXPECT_EQ(orders.CellText(0, column), expected[column]) << column;
}

TEST_F(PageOrderListTest, RowsFollowArrivalOrderAndAKnownOrderIsRewrittenInPlace) {
    Announce(MakeOrder("00000000000300", 'o'));
    Announce(MakeOrder("00000000000100", 'o'));
    Announce(MakeOrder("00000000000200", 'o'));
    orderRows.Take();

    TYqOrder changed = MakeOrder("00000000000100", 'p');
    changed.remainAmount = 3;
    Announce(changed);

    ASSERT_EQ(orders.RowCount(), 3);
    EXPECT_EQ(orders.CellText(0, 1), "00000000000300");
    EXPECT_EQ(orders.CellText(1, 1), "00000000000100");
    EXPECT_EQ(orders.CellText(2, 1), "00000000000200");
    EXPECT_EQ(orders.CellText(1, 7), "3");
    EXPECT_EQ(orders.CellText(1, 8), "部分成交");
    EXPECT_EQ(orderRows.Take(), (std::vector<std::string>{"changed 1-1"}));
}

TEST_F(PageOrderListTest, NewOrderIsShownAndItsPageBroughtToFrontButAnUpdateIsNot) {
    ASSERT_EQ(tabs.CurrentIndex(), 0);
    Announce(MakeOrder("00000000000101", 'o'));
    EXPECT_EQ(orderRows.Take(), (std::vector<std::string>{"insert 0+1", "show 0"}));
    EXPECT_EQ(tabs.CurrentIndex(), 1);

    tabs.SelectPage(2);
    Announce(MakeOrder("00000000000101", 'p'));
    EXPECT_EQ(orderRows.Take(), (std::vector<std::string>{"changed 0-0"}));
    EXPECT_EQ(tabs.CurrentIndex(), 2);
}

TEST_F(PageOrderListTest, RefusedOrEmptyReturnsChangeNothing) {
    const TYqOrder order = MakeOrder("00000000000101", 'o');
    const TTRspMsg refused = Response("RSP000001", "拒绝");
    const TTRspMsg longerCode = Response("RSP0000001");
    orders.onRecvRtnYqOrder(&order, refused);
    orders.onRecvRtnYqOrder(&order, longerCode);
    orders.onRecvRtnYqOrder(&order, TTRspMsg{});
    const TTRspMsg ok = Response();
    orders.onRecvRtnYqOrder(nullptr, ok);
    harness.bridge.Deliver();

    EXPECT_EQ(orders.RowCount(), 0);
    EXPECT_EQ(unmatched.RowCount(), 0);
    EXPECT_TRUE(orderRows.events.empty());
    EXPECT_EQ(tabs.CurrentIndex(), 0);
}

TEST_F(PageOrderListTest, OnlyCancellableRowsTakeATick) {
    for (const char status : {'o', 'p', 'c', 'd', 'f'}) {
        Announce(MakeOrder(("0000000000010" + std::string(1, status)).c_str(), status));
    }
    orderRows.Take();
    for (int row = 0; row < orders.RowCount(); ++row) orders.OnCheckClicked(row, true);

    EXPECT_TRUE(orders.IsRowChecked(0));
    EXPECT_TRUE(orders.IsRowChecked(1));
    EXPECT_FALSE(orders.IsRowChecked(2));
    EXPECT_FALSE(orders.IsRowChecked(3));
    EXPECT_FALSE(orders.IsRowChecked(4));
    // The boxes that showed a tick they may not keep are drawn again.
    EXPECT_EQ(orderRows.Take(), (std::vector<std::string>{"changed 2-2", "changed 3-3", "changed 4-4"}));

    orders.OnCheckClicked(0, false);
    EXPECT_FALSE(orders.IsRowChecked(0));
}

TEST_F(PageOrderListTest, MenuOffersCancelCheckedOnlyWhileARowIsTicked) {
    Announce(MakeOrder("00000000000101", 'o'));
    EXPECT_EQ(orders.MenuItems(), (std::vector<EOrderMenuItem>{EOrderMenuItem::CancelAll}));
    EXPECT_EQ(MenuItemText(EOrderMenuItem::CancelAll), "撤销所有未成交单");

    orders.OnCheckClicked(0, true);
    EXPECT_EQ(orders.MenuItems(), (std::vector<EOrderMenuItem>{EOrderMenuItem::CancelChecked, EOrderMenuItem::CancelAll}));
    EXPECT_EQ(MenuItemText(EOrderMenuItem::CancelChecked), "撤销选中未成交单");
}

TEST_F(PageOrderListTest, CancelCheckedSendsOnePer50msInRowOrderAndUnticksEveryRow) {
    AnnounceTicked(orders, MakeOrder("00000000000103", 'o'));
    Announce(MakeOrder("00000000000101", 'o'));
    AnnounceTicked(orders, MakeOrder("00000000000102", 'p'));
    AnnounceTicked(orders, MakeOrder("00000000000104", 'o'));
    // Matched meanwhile: it keeps its tick but is no longer cancelled.
    Announce(MakeOrder("00000000000104", 'c'));
    orderRows.Take();

    orders.RunMenuItem(EOrderMenuItem::CancelChecked);

    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000103"}));
    for (int row = 0; row < orders.RowCount(); ++row) EXPECT_FALSE(orders.IsRowChecked(row)) << row;
    EXPECT_EQ(orderRows.Take(), (std::vector<std::string>{"changed 0-0", "changed 2-2", "changed 3-3"}));
    harness.timers.Advance(49ms);
    EXPECT_EQ(harness.requests.cancels.size(), 1u);
    harness.timers.Advance(1ms);
    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000103", "00000000000102"}));
    harness.timers.RunAll();
    EXPECT_EQ(harness.requests.cancels.size(), 2u);
    // Sending changes no row: that waits for the exchange's update.
    EXPECT_TRUE(orderRows.events.empty());
    EXPECT_EQ(orders.CellText(0, 8), "未成交");
}

TEST_F(PageOrderListTest, CancelRequestIsFilledFromTheStoredOrder) {
    TYqOrder order = MakeOrder("00000000000101", 'o');
    quorex::SetText(order.clientID, "00019999");
    quorex::SetText(order.memberID, "0002");
    quorex::SetText(order.traderID, "00020001");
    quorex::SetText(order.instID, "000007");
    AnnounceTicked(orders, order);
    orders.CancelChecked();

    ASSERT_EQ(harness.requests.cancels.size(), 1u);
    const TYqOrderCancel& cancel = harness.requests.cancels[0];
    EXPECT_EQ(quorex::TextOf(cancel.orderNo), "00000000000101");
    EXPECT_EQ(quorex::TextOf(cancel.instID), "000007");
    EXPECT_EQ(quorex::TextOf(cancel.clientID), "00019999");
    EXPECT_EQ(quorex::TextOf(cancel.memberID), "0002");
    EXPECT_EQ(quorex::TextOf(cancel.traderID), "00020001");
}

TEST_F(PageOrderListTest, CancelAllAsksAndThenCancelsEveryCancellableOrderFromTheTop) {
    Announce(MakeOrder("00000000000101", 'o'));
    Announce(MakeOrder("00000000000102", 'c'));
    Announce(MakeOrder("00000000000103", 'p'));
    Announce(MakeOrder("00000000000104", 'd'));

    harness.prompter.answers = {false};
    orders.RunMenuItem(EOrderMenuItem::CancelAll);
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定撤销所有报单?");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备撤销全部报单");
    EXPECT_TRUE(harness.prompter.boxes[0].question);
    harness.timers.RunAll();
    EXPECT_TRUE(harness.requests.cancels.empty());

    orders.RunMenuItem(EOrderMenuItem::CancelAll);
    EXPECT_EQ(harness.requests.cancels.size(), 1u);
    harness.timers.Advance(50ms);
    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000101", "00000000000103"}));
}

TEST_F(PageOrderListTest, CancelAllWithNothingCancellableSendsNothingAfterTheConfirmation) {
    Announce(MakeOrder("00000000000101", 'c'));
    Announce(MakeOrder("00000000000102", 'f'));
    orders.CancelAll();
    harness.timers.RunAll();
    EXPECT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_TRUE(harness.requests.cancels.empty());
}

TEST_F(PageOrderListTest, BothPagesCancelsKeepOnePaceWhenGivenTogether) {
    AnnounceTicked(orders, MakeOrder("00000000000101", 'o'));
    AnnounceTicked(orders, MakeOrder("00000000000102", 'o'));
    unmatched.OnCheckClicked(1, true);

    orders.CancelChecked();
    unmatched.CancelChecked();
    EXPECT_EQ(harness.requests.cancels.size(), 1u);
    harness.timers.Advance(50ms);
    EXPECT_EQ(harness.requests.cancels.size(), 2u);
    harness.timers.Advance(50ms);
    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000101", "00000000000102", "00000000000102"}));
}

TEST_F(PageOrderListTest, CancelAnswerTextReachesTheStatusLineAsItsOwnCopy) {
    {
        TTRspMsg rsp = Response("RSP000001", "该报单已成交，不能撤单");
        orders.onRecvRspYqOrderCancel(nullptr, rsp);
        // The library's record is gone before the main frame shows the text.
        std::memset(&rsp, 'x', sizeof rsp);
    }
    harness.bridge.Deliver();
    EXPECT_EQ(harness.statusJournal.texts, (std::vector<std::string>{"该报单已成交，不能撤单"}));
    EXPECT_EQ(harness.statusJournal.senders, (std::vector<WParam>{WM_ORDER_CANCEL_RSP}));
    EXPECT_EQ(WM_ORDER_CANCEL_RSP, 1133u);
}

TEST_F(PageOrderListTest, FindOrderGivesTheStoredCopy) {
    Announce(MakeOrder("00000000000101", 'o', "09:00:01"));
    Announce(MakeOrder("00000000000102", 'o', "09:00:02"));
    const TYqOrder* found = orders.FindOrder("00000000000102");
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(found, &orders.OrderAt(1));
    EXPECT_EQ(orders.FindOrder("00000000000103"), nullptr);
    EXPECT_EQ(orders.FindOrder(""), nullptr);
}

}  // namespace
}  // namespace kvt::test
