// The order and match page widgets: ticks through the model, the context menu's actions and the
// match list's subtotal row.
#include <gtest/gtest.h>

#include <QAction>
#include <QCoreApplication>
#include <QMenu>

#include "client/pages/OrderPagesTestSupport.h"
#include "client/pages/PageMatch.h"
#include "client/pages/ui/MatchPageWidget.h"
#include "client/pages/ui/OrderListWidget.h"
#include "client/shell/ui/ListView.h"

namespace kvt::test {
namespace {

QStringList ActionTexts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) texts << action->text();
    return texts;
}

class OrderListWidgetTest : public ::testing::Test, public COrderPages {
protected:
    OrderListWidgetTest() {
        ordersWidget.View().AttachModel();
        unmatchedWidget.View().AttachModel();
    }
    COrderListWidget ordersWidget{orders};
    COrderListWidget unmatchedWidget{unmatched};
};

TEST_F(OrderListWidgetTest, TicksGoThroughTheModelAndOnlyCancellableOrdersKeepThem) {
    Announce(MakeOrder("00000000000101", 'o'));
    Announce(MakeOrder("00000000000102", 'c'));
    CListModel& model = ordersWidget.Model();
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_TRUE(model.flags(model.index(1, 0)) & Qt::ItemIsUserCheckable);

    EXPECT_TRUE(model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole), Qt::Checked);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole), Qt::Unchecked);

    // The same order on 未成交单 has a tick of its own.
    CListModel& unmatchedModel = unmatchedWidget.Model();
    ASSERT_EQ(unmatchedModel.rowCount(), 1);
    EXPECT_EQ(unmatchedModel.data(unmatchedModel.index(0, 0), Qt::CheckStateRole), Qt::Unchecked);
    EXPECT_EQ(unmatchedModel.data(unmatchedModel.index(0, 8), Qt::DisplayRole).toString(), QStringLiteral("未成交"));
}

TEST_F(OrderListWidgetTest, ContextMenuOffersTheItemsForTheTicksAndRunsThem) {
    Announce(MakeOrder("00000000000101", 'o'));
    const std::unique_ptr<QMenu> plain = ordersWidget.CreateContextMenu();
    EXPECT_EQ(ActionTexts(*plain), QStringList{QStringLiteral("撤销所有未成交单")});

    ordersWidget.Model().setData(ordersWidget.Model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    const std::unique_ptr<QMenu> ticked = ordersWidget.CreateContextMenu();
    ASSERT_EQ(ActionTexts(*ticked), (QStringList{QStringLiteral("撤销选中未成交单"), QStringLiteral("撤销所有未成交单")}));

    ticked->actions().front()->trigger();
    EXPECT_EQ(CancelledOrderNos(), (std::vector<std::string>{"00000000000101"}));
    EXPECT_EQ(ordersWidget.Model().data(ordersWidget.Model().index(0, 0), Qt::CheckStateRole), Qt::Unchecked);
}

TEST_F(OrderListWidgetTest, BurstOfNewOrdersSelectsTheLastOnceTheEventLoopRuns) {
    Announce(MakeOrder("00000000000101", 'o'));
    Announce(MakeOrder("00000000000102", 'o'));
    EXPECT_TRUE(ordersWidget.View().selectionModel()->selectedRows().isEmpty());
    QCoreApplication::processEvents();
    const QModelIndexList selected = ordersWidget.View().selectionModel()->selectedRows();
    ASSERT_EQ(selected.size(), 1);
    EXPECT_EQ(selected.front().row(), 1);
}

TEST(MatchPageWidgetTest, SubtotalRowStaysLastAsMatchesArrive) {
    CClientHarness harness;
    CPageOrderList orders{harness.Services()};
    CPageMatch matches{harness.api, orders};
    CMatchPageWidget widget{matches};
    widget.View().AttachModel();
    CListModel& model = widget.Model();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 15);
    EXPECT_EQ(widget.View().columnWidth(0), 120);

    const TYqMatch match = MakeMatch("0000000000000001", 'b', "00000000000101", 6, 10.0);
    const TTRspMsg rsp = Response();
    matches.onRecvRtnYqMatch(&match, rsp);

    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::DisplayRole).toString(), QStringLiteral("0000000000000001"));
    EXPECT_EQ(model.data(model.index(1, 0), Qt::DisplayRole).toString(), QStringLiteral("小计"));
    EXPECT_EQ(model.data(model.index(1, 7), Qt::DisplayRole).toString(), QStringLiteral("6"));
}

}  // namespace
}  // namespace kvt::test
