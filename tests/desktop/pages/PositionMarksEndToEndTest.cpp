// The 订货量 page against exchange-sim: the 账面盈亏 of each instrument's "小计" row and of the
// "合计" row follow the exchange's marks, at the reference price before the first trade, at the
// last trade price after the trader's own trades, and after trades of others move the prices.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include "DesktopSession.h"
#include "client/pages/ui/OrderFormWidget.h"

using namespace kvt;
using namespace kvt::test;

namespace {

constexpr int kPositionsTab = 4;
constexpr int kCapitalTab = 5;
constexpr int kBuyAmountColumn = 2, kBuyAverageColumn = 3, kSellAmountColumn = 4, kSellAverageColumn = 5;
constexpr int kProfitColumn = 7;

// Fills the form for the trader's own account and presses 下单; the confirmation is answered yes.
void PlaceOrder(COrderFormWidget& form, const char* yqInstID, EOrderKind kind, const char* price, const char* amount) {
    form.Instrument().lineEdit()->clear();
    QTest::keyClicks(form.Instrument().lineEdit(), yqInstID);
    form.TradingCodeEdit().setText("0001");
    form.PriceEdit().setText(price);
    form.AmountEdit().setText(amount);
    form.OrderKindRadio(kind).click();
    form.PlaceButton().click();
}

// A cell of the "小计" row of an instrument (the first one below its client rows); empty without one.
std::string SubtotalCell(const CPagePosition& page, const char* yqInstID, int column) {
    bool inGroup = false;
    for (int row = 0; row < page.RowCount(); ++row) {
        inGroup = inGroup || page.CellText(row, 0) == yqInstID;
        if (inGroup && page.CellText(row, 1) == "小计") return page.CellText(row, column);
    }
    return std::string();
}

std::string TotalProfit(const CPagePosition& page) {
    const int last = page.RowCount() - 1;
    return last >= 0 && page.CellText(last, 1) == "合计" ? page.CellText(last, kProfitColumn) : std::string();
}

}  // namespace

TEST(PositionMarksEndToEnd, TheSubtotalsAndTheTotalShowTheFloatingProfit) {
    CDesktopSession session;
    ASSERT_NE(session.simulator->port, 0) << "exchange-sim did not start";
    ASSERT_TRUE(session.LogIn());
    CApplication& app = *session.application;
    CPagePosition& positions = app.Pages().Positions();
    COrderFormWidget& form = app.OrderForm();
    ASSERT_TRUE(WaitUntil([&] { return app.Pages().Quotations().RowCount() == 3; }));

    // The day opens with 20 lots of LW2601 bought at 3480; nothing has traded, so the reference
    // price 3500 marks them: (3500 - 3480) * 20 * 10.
    app.Tabs().OnTabPressed(kPositionsTab);
    ASSERT_TRUE(WaitUntil([&] { return TotalProfit(positions) == "4000"; })) << TotalProfit(positions);
    EXPECT_EQ(SubtotalCell(positions, "LW2601", kBuyAverageColumn), "3480.00");
    EXPECT_EQ(SubtotalCell(positions, "LW2601", kProfitColumn), "4000");

    // One more lot at 3510 from another member's trader: 21 lots at 3481.43 marked at 3510.
    CCounterparty other;
    ASSERT_TRUE(other.LogIn(session.simulator->port, "00020001", "0002", "trader3"));
    ASSERT_TRUE(other.Order('s', 3510, 1));
    PlaceOrder(form, "LW2601", EOrderKind::BuyOpen, "3510", "1");
    ASSERT_TRUE(WaitUntil([&] { return SubtotalCell(positions, "LW2601", kBuyAmountColumn) == "21"; }));
    EXPECT_EQ(SubtotalCell(positions, "LW2601", kBuyAverageColumn), "3481.43");
    EXPECT_TRUE(WaitUntil([&] { return SubtotalCell(positions, "LW2601", kProfitColumn) == "6000"; }));

    // Two lots of RJ2602 sold at 3700, the last price: nothing floating yet.
    ASSERT_TRUE(other.Order('b', 3700, 2, "000002"));
    PlaceOrder(form, "RJ2602", EOrderKind::SellOpen, "3700", "2");
    ASSERT_TRUE(WaitUntil([&] { return SubtotalCell(positions, "RJ2602", kSellAmountColumn) == "2"; }));
    EXPECT_EQ(SubtotalCell(positions, "RJ2602", kSellAverageColumn), "3700.00");
    EXPECT_EQ(SubtotalCell(positions, "RJ2602", kProfitColumn), "0");
    EXPECT_TRUE(WaitUntil([&] { return TotalProfit(positions) == "6000"; })) << TotalProfit(positions);

    // Two other members trade LW2601 at 3515 and RJ2602 at 3720; the trader's lots stay as they
    // were and reloading the page shows them marked anew: 7050 and (3700 - 3720) * 2 * 10.
    CCounterparty maker;
    ASSERT_TRUE(maker.LogIn(session.simulator->port, "00090001", "0009", "maker9"));
    ASSERT_TRUE(other.Order('s', 3515, 1));
    ASSERT_TRUE(maker.Order('b', 3515, 1));
    ASSERT_TRUE(maker.Order('s', 3720, 1, "000002"));
    ASSERT_TRUE(other.Order('b', 3720, 1, "000002"));
    app.Tabs().OnTabPressed(kCapitalTab);
    app.Tabs().OnTabPressed(kPositionsTab);
    ASSERT_TRUE(WaitUntil([&] { return TotalProfit(positions) == "6650"; })) << TotalProfit(positions);
    EXPECT_EQ(SubtotalCell(positions, "LW2601", kProfitColumn), "7050");
    EXPECT_EQ(SubtotalCell(positions, "RJ2602", kProfitColumn), "-400");
    EXPECT_EQ(SubtotalCell(positions, "LW2601", kBuyAmountColumn), "21");
}
