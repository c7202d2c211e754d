#include "client/pages/ui/PreOrderPageWidget.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QMenu>

#include "ClientTestSupport.h"
#include "client/pages/PagePreOrder.h"
#include "client/pages/PreOrderTestSupport.h"
#include "client/shell/ui/ListView.h"

using namespace kvt;
using namespace kvt::test;

namespace {

QStringList ActionTexts(QMenu& menu) {
    QStringList texts;
    for (QAction* action : menu.actions()) texts << action->text();
    return texts;
}

class PreOrderPageWidget : public testing::Test {
protected:
    PreOrderPageWidget() {
        harness.LogIn();
        for (int i = 0; i < 3; ++i) page.AddPreOrder(ParkableOrder(2350 + i), DepositList(), false);
        widget.View().AttachModel();
    }

    CClientHarness harness;
    CScratchDirectory scratch;
    CPagePreOrder page{harness.Services(), scratch.Name()};
    CPreOrderPageWidget widget{page};
};

}  // namespace

TEST_F(PreOrderPageWidget, CheckBoxesTickThePageRowsAndTheMenuFollows) {
    CListModel& model = widget.Model();
    EXPECT_EQ(model.rowCount(), 3);
    EXPECT_EQ(ActionTexts(*widget.CreateContextMenu()), (QStringList{"发送所有预埋单", "删除所有预埋单"}));
    ASSERT_TRUE(model.flags(model.index(1, 0)) & Qt::ItemIsUserCheckable);
    ASSERT_TRUE(model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole));
    EXPECT_TRUE(page.IsRowChecked(1));
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(harness.LastStatus(), "选中了1笔预埋单");
    EXPECT_EQ(ActionTexts(*widget.CreateContextMenu()),
              (QStringList{"发送选中预埋单", "发送所有预埋单", "删除选中预埋单", "删除所有预埋单"}));
}

TEST_F(PreOrderPageWidget, AChosenMenuItemRunsThePageCommand) {
    widget.Model().setData(widget.Model().index(0, 0), Qt::Checked, Qt::CheckStateRole);
    std::unique_ptr<QMenu> menu = widget.CreateContextMenu();
    menu->actions().at(0)->trigger();  // 发送选中预埋单
    ASSERT_EQ(harness.requests.orders.size(), 1u);
    EXPECT_EQ(widget.Model().data(widget.Model().index(0, 7), Qt::DisplayRole).toString(), "发送失败");

    harness.timers.RunAll();
    widget.CreateContextMenu()->actions().last()->trigger();  // 删除所有预埋单, answered yes
    EXPECT_EQ(widget.View().model()->rowCount(), 0);
}
