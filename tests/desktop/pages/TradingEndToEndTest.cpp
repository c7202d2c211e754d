// Trading through KvtTrade's real windows against exchange-sim with its market bot: an order
// placed through the form and confirmed, seen on 报单 and 未成交单, matched by another trader, seen
// on 成交单 under its subtotal with the capital and position panels moved on; then two resting
// orders cancelled with 撤销所有未成交单.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "DesktopSession.h"
#include "client/pages/ui/OrderFormWidget.h"

using namespace kvt;
using namespace kvt::test;

namespace {

// Fills the form as a trader types it and presses 下单; the confirmation is answered yes.
void PlaceOrder(COrderFormWidget& form, const char* price, const char* amount) {
    form.Instrument().lineEdit()->clear();
    QTest::keyClicks(form.Instrument().lineEdit(), "LW2601");
    form.TradingCodeEdit().setText("0001");
    form.PriceEdit().setText(price);
    form.AmountEdit().setText(amount);
    form.OrderKindRadio(EOrderKind::BuyOpen).click();
    form.PlaceButton().click();
}

// The row of an order on a list page, found by its local order number (column 13).
int RowOf(const CListRows& page, const std::string& localOrderNo) {
    for (int row = 0; row < page.RowCount(); ++row) {
        if (page.CellText(row, 13) == localOrderNo) return row;
    }
    return -1;
}

}  // namespace

TEST(TradingEndToEnd, PlaceSeeMatchAndCancelThroughTheWindows) {
    CDesktopSession session({"--bot", "--bot-interval-ms", "100"});
    ASSERT_NE(session.simulator->port, 0) << "exchange-sim did not start";
    ASSERT_TRUE(session.LogIn());
    CApplication& app = *session.application;
    CClientPages& pages = app.Pages();
    COrderFormWidget& form = app.OrderForm();
    ASSERT_TRUE(WaitUntil([&] { return form.AvailableCapitalLabel().text() != QString(); }));
    ASSERT_TRUE(WaitUntil([&] { return pages.Quotations().RowCount() == 3; }));

    const QString capitalBefore = form.AvailableCapitalLabel().text();

    // 3300 is far below the bot's market: the order rests.
    const std::string first = CLocalOrderNumbers::Format(CLocalOrderNumbers::Parse(
                                                             app.Api().LoginState().Trader().localOrderNo) +
                                                         1);
    PlaceOrder(form, "3300", "2");
    ASSERT_EQ(session.prompter.boxes.size(), 1u);
    EXPECT_EQ(session.prompter.boxes[0].text, "确定发送报单?");
    ASSERT_TRUE(WaitUntil([&] { return RowOf(pages.Orders(), first) >= 0 && RowOf(pages.UnmatchedOrders(), first) >= 0; }));
    const int row = RowOf(pages.Orders(), first);
    EXPECT_EQ(pages.Orders().CellText(row, 2), "LW2601");
    EXPECT_EQ(pages.Orders().CellText(row, 8), "未成交");
    ASSERT_TRUE(WaitUntil([&] { return form.LongAmountLabel().text() == "20"; }));

    // Another member's trader sells to it.
    CCounterparty seller;
    ASSERT_TRUE(seller.LogIn(session.simulator->port, "00020001", "0002", "trader3"));
    ASSERT_TRUE(seller.Order('s', 3300, 2));
    ASSERT_TRUE(WaitUntil([&] { return pages.Orders().CellText(row, 8) == "完全成交"; }));
    EXPECT_TRUE(WaitUntil([&] { return RowOf(pages.UnmatchedOrders(), first) < 0; }));
    ASSERT_TRUE(WaitUntil([&] { return pages.Matches().RowCount() == 2; }));
    EXPECT_EQ(pages.Matches().CellText(0, 1), pages.Orders().CellText(row, 1));
    EXPECT_EQ(pages.Matches().CellText(0, 7), "2");
    EXPECT_EQ(pages.Matches().CellText(1, 0), "小计");
    EXPECT_EQ(pages.Matches().CellText(1, 7), "2");
    EXPECT_EQ(pages.Matches().CellText(0, 12), pages.Orders().CellText(row, 12));
    EXPECT_TRUE(WaitUntil([&] { return form.LongAmountLabel().text() == "22"; }));
    EXPECT_TRUE(WaitUntil([&] { return form.AvailableCapitalLabel().text() != capitalBefore; }));

    // Two resting orders, then 撤销所有未成交单 on 未成交单.
    std::vector<std::string> resting;
    for (const char* price : {"3301", "3302"}) {
        const std::string number = CLocalOrderNumbers::Format(
            CLocalOrderNumbers::Parse(app.Api().LoginState().Trader().localOrderNo) + 1);
        PlaceOrder(form, price, "1");
        ASSERT_TRUE(WaitUntil([&] { return RowOf(pages.UnmatchedOrders(), number) >= 0; }));
        resting.push_back(number);
    }
    pages.UnmatchedOrders().RunMenuItem(EOrderMenuItem::CancelAll);
    EXPECT_EQ(session.prompter.boxes.back().text, "确定撤销所有报单?");
    ASSERT_TRUE(WaitUntil([&] { return pages.UnmatchedOrders().RowCount() == 0; }));
    for (const std::string& number : resting) {
        EXPECT_EQ(pages.Orders().CellText(RowOf(pages.Orders(), number), 8), "用户撤消");
    }
    EXPECT_EQ(session.requests->counts["cancel"], 2);
}
