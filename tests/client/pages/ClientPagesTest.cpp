// The capital and e-indenture pages, and the set of pages that the lower pane is built from.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/pages/ClientPages.h"
#include "client/shell/PageTabCtrl.h"

using namespace kvt;
using namespace kvt::test;

namespace {

TMemberCapital Capital(char accountType, double todayBalance) {
    TMemberCapital capital{};
    quorex::SetText(capital.memberID, "0001");
    capital.accountType = accountType;
    capital.todayBalance = todayBalance;
    capital.lastReceivable = 2.5;
    return capital;
}

TElctIndenture Indenture(const char* indentNo, int available) {
    TElctIndenture indenture{};
    quorex::SetText(indenture.indentNo, indentNo);
    quorex::SetText(indenture.clientID, "00010001");
    quorex::SetText(indenture.regionCode, "SH");
    indenture.avaAmount = available;
    indenture.warehouseID = 7;
    indenture.canUseInYq = '1';
    return indenture;
}

class ClientPagesTest : public testing::Test {
protected:
    ClientPagesTest() { harness.LogIn("00010001", "0001"); }

    CClientHarness harness;
    CPageTabCtrl tabs{harness.bridge};
    CClientPages pages{harness.Services(), tabs};
};

TEST_F(ClientPagesTest, SevenTabsInOrderAndEveryPageRegistered) {
    ASSERT_EQ(tabs.PageCount(), 7);
    const std::vector<std::string> titles = {"行情", "报单", "未成交单", "成交单", "订货量", "资金", "电子货单"};
    for (int i = 0; i < 7; ++i) EXPECT_EQ(tabs.Title(i), titles[static_cast<std::size_t>(i)]);
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EPageWindow::CapitalPage)), static_cast<CTraderEvents*>(&pages.Capital()));
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EPageWindow::ElctIndenturePage)), static_cast<CTraderEvents*>(&pages.ElctIndentures()));
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EPageWindow::PreOrderPage)), static_cast<CTraderEvents*>(&pages.PreOrders()));
    EXPECT_EQ(harness.api.Windows().Window(EShellWindow::TabControl).Get(), &tabs);
    EXPECT_EQ(tabs.IndexOf(&pages.PreOrders()), -1);
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EPageWindow::OrderEntryPage)), static_cast<CTraderEvents*>(&pages.OrderEntry()));
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EPageWindow::IndentureSelectPage)), static_cast<CTraderEvents*>(&pages.IndentureSelect()));
    EXPECT_NE(harness.api.InstrumentTable(), nullptr);
}

TEST(ClientPagesAdvanced, ThePreOrderPageGetsItsTabAfterTheOthers) {
    CClientHarness harness;
    CPageTabCtrl tabs{harness.bridge};
    CClientPages pages{harness.Services(), tabs, true};
    ASSERT_EQ(tabs.PageCount(), 8);
    EXPECT_EQ(tabs.Title(7), "预埋单");
    EXPECT_EQ(tabs.Page(7), &pages.PreOrders());
}

TEST_F(ClientPagesTest, CapitalRowsShowTheLastRecordAndBothAccountsAreKept) {
    CPageCapital& capital = pages.Capital();
    ASSERT_EQ(capital.RowCount(), 24);
    EXPECT_EQ(capital.CellText(2, 0), "当日可用资金");
    EXPECT_EQ(capital.CellText(23, 0), "上日应收货款");
    EXPECT_EQ(capital.CellText(2, 1), "");

    const TTRspMsg ok = Response();
    const TMemberCapital own = Capital('0', 9930400.4), agency = Capital('1', 5000000.6);
    harness.api.onRecvRspQryMemberCapital(&own, &ok, nullptr);
    harness.api.onRecvRspQryMemberCapital(&agency, &ok, nullptr);
    EXPECT_EQ(capital.Records().Size(), 2u);
    EXPECT_EQ(capital.CellText(0, 1), "0001");
    EXPECT_EQ(capital.CellText(1, 1), "代理");
    EXPECT_EQ(capital.CellText(2, 1), "5000001");
    EXPECT_EQ(capital.CellText(23, 1), "2");  // 2.5 rounds to even

    const TMemberCapital again = Capital('0', 100);
    harness.api.onRecvRspQryMemberCapital(&again, &ok, nullptr);
    EXPECT_EQ(capital.Records().Size(), 2u);
    EXPECT_EQ(capital.CellText(1, 1), "自营");
    EXPECT_EQ(capital.CellText(2, 1), "100");
}

TEST_F(ClientPagesTest, RefusedOrEmptyCapitalAnswersChangeNothing) {
    const TTRspMsg ok = Response(), refused = Response("ERR000001", "no");
    const TMemberCapital first = Capital('0', 1), second = Capital('0', 2);
    harness.api.onRecvRspQryMemberCapital(&first, &ok, nullptr);
    harness.api.onRecvRspQryMemberCapital(&second, &refused, nullptr);
    harness.api.onRecvRspQryMemberCapital(nullptr, &ok, nullptr);
    EXPECT_EQ(pages.Capital().CellText(2, 1), "1");
}

TEST_F(ClientPagesTest, CapitalRefreshQueriesTheMembersOwnAccount) {
    pages.Capital().OnMessage(WM_PAGE_REFRESH, 0, 0);
    ASSERT_EQ(harness.requests.capitalQueries.size(), 1u);
    EXPECT_STREQ(harness.requests.capitalQueries[0].memberID, "0001");
    EXPECT_EQ(harness.requests.capitalQueries[0].accountType, '0');
}

TEST_F(ClientPagesTest, IndenturesLoadOnlyOnRefreshAndARefreshReplacesThem) {
    CPageElctIndenture& page = pages.ElctIndentures();
    const TTRspMsg ok = Response(), refused = Response("ERR000001", "no");
    EXPECT_EQ(page.RowCount(), 0);
    for (int refresh = 0; refresh < 2; ++refresh) {
        page.OnMessage(WM_PAGE_REFRESH, 0, 0);
        const TElctIndenture a = Indenture("E000000001", 100), b = Indenture("E000000002", 50);
        harness.api.onRecvRspQryElctIndenture(&a, &ok, nullptr);
        harness.api.onRecvRspQryElctIndenture(&b, &refused, nullptr);  // the code is not examined
        harness.api.onRecvRspQryElctIndenture(nullptr, &ok, nullptr);
    }
    EXPECT_EQ(harness.requests.indentureQueries.size(), 2u);
    EXPECT_STREQ(harness.requests.indentureQueries[0].memberID, "0001");
    EXPECT_STREQ(harness.requests.indentureQueries[0].traderID, "00010001");
    ASSERT_EQ(page.RowCount(), 2);
    EXPECT_EQ(page.CellText(0, 0), "E000000001");
    EXPECT_EQ(page.CellText(1, 1), "50");
    EXPECT_EQ(page.CellText(0, 8), "SH");
    EXPECT_EQ(page.CellText(0, 9), "7");
    EXPECT_EQ(page.CellText(0, 15), "是");
    EXPECT_EQ(page.Columns().size(), 16u);
}

TEST_F(ClientPagesTest, PagesUnregisterWhenTheyGo) {
    {
        CPageTabCtrl otherTabs{harness.bridge};
        CClientPages other{harness.Services(), otherTabs};
    }
    EXPECT_FALSE(harness.api.Windows().IsRegistered(IdOf(EPageWindow::CapitalPage)));
    EXPECT_FALSE(harness.api.Windows().IsRegistered(IdOf(EPageWindow::OrderEntryPage)));
    EXPECT_EQ(harness.api.InstrumentTable(), nullptr);
    EXPECT_FALSE(harness.api.Windows().Window(EShellWindow::TabControl).IsSet());
}

}  // namespace
