// What a screen reader finds in KvtTrade's windows, through Qt's accessibility interfaces: every
// control of the login dialog, the password dialog and the order form by its accessible name and
// role, the painted tab strip's tabs, a list's headers and cells, and the status bar's panes.
#include <gtest/gtest.h>
#include <unistd.h>

#include <QAccessible>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStatusBar>
#include <QTableView>
#include <QTest>
#include <deque>
#include <filesystem>

#include "ClientTestSupport.h"
#include "client/pages/PageCapital.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/pages/PageOrder.h"
#include "client/pages/ui/ListPageWidget.h"
#include "client/pages/ui/OrderFormWidget.h"
#include "client/shell/LoginDialog.h"
#include "client/shell/PageTabCtrl.h"
#include "client/shell/ServerList.h"
#include "client/shell/ui/ListView.h"
#include "client/shell/ui/LoginDialogWidget.h"
#include "client/shell/ui/PasswordDialogWidget.h"
#include "client/shell/ui/TabStrip.h"

namespace kvt::test {
namespace {

// The accessible object under root (root included) of this role whose text of the kind (its name,
// or a display's description) is this one, depth first; null when none.
QAccessibleInterface* Find(QAccessibleInterface* root, QAccessible::Role role, const QString& text,
                           QAccessible::Text kind = QAccessible::Name) {
    if (root == nullptr) return nullptr;
    if (root->role() == role && root->text(kind) == text) return root;
    for (int i = 0; i < root->childCount(); ++i) {
        if (QAccessibleInterface* found = Find(root->child(i), role, text, kind)) return found;
    }
    return nullptr;
}

// The control of this role that a label of this text labels (a drop-down reads its current item
// as its name, and its label through this relation); null when none.
QAccessibleInterface* LabelledBy(QAccessibleInterface* root, QAccessible::Role role, const QString& text) {
    QAccessibleInterface* label = Find(root, QAccessible::StaticText, text);
    if (label == nullptr) return nullptr;
    for (const auto& [other, relation] : label->relations(QAccessible::Labelled)) {
        if (other->role() == role) return other;
    }
    return nullptr;
}

// Expects a control of this role to answer to each name (or, for displays, description), its own
// or its label's.
void ExpectNamed(QWidget& window, QAccessible::Role role, std::initializer_list<const char*> names,
                 QAccessible::Text kind = QAccessible::Name) {
    QAccessibleInterface* root = QAccessible::queryAccessibleInterface(&window);
    ASSERT_NE(root, nullptr);
    for (const char* name : names) {
        const QString text = QString::fromUtf8(name);
        const bool found = Find(root, role, text, kind) != nullptr || (kind == QAccessible::Name && LabelledBy(root, role, text));
        EXPECT_TRUE(found) << name;
    }
}

TEST(Accessibility, EveryControlOfTheLoginDialogAnswersToItsName) {
    CClientHarness harness;
    CServerList servers;
    const std::string path = testing::TempDir() + "kvtsys-accessible-" + std::to_string(::getpid()) + ".data";
    CLoginDialog logic{harness.api, harness.requests, harness.timers, servers, path};
    CLoginDialogWidget dialog{logic};
    dialog.show();
    ExpectNamed(dialog, QAccessible::ComboBox, {"通讯设置"});
    ExpectNamed(dialog, QAccessible::EditableText, {"交易员代码", "密码"});
    ExpectNamed(dialog, QAccessible::CheckBox, {"记住密码", "自动登陆"});
    ExpectNamed(dialog, QAccessible::Button, {"登陆", "退出"});
    ExpectNamed(dialog, QAccessible::StaticText, {"登陆状态"}, QAccessible::Description);
    // The password reads as a password, never as its text.
    QAccessibleInterface* password =
        Find(QAccessible::queryAccessibleInterface(&dialog), QAccessible::EditableText, QStringLiteral("密码"));
    ASSERT_NE(password, nullptr);
    dialog.Password().setText(QStringLiteral("trader1"));
    EXPECT_TRUE(password->state().passwordEdit);
    EXPECT_NE(password->text(QAccessible::Value), QStringLiteral("trader1"));
    std::filesystem::remove(path);
}

TEST(Accessibility, EveryControlOfThePasswordDialogAnswersToItsName) {
    CClientHarness harness;
    CPasswordDialogWidget dialog(harness.api, harness.requests);
    dialog.show();
    ExpectNamed(dialog, QAccessible::EditableText, {"旧密码", "新密码", "验证新密码"});
    ExpectNamed(dialog, QAccessible::Button, {"确定", "取消"});
}

TEST(Accessibility, EveryControlOfTheOrderFormAnswersToItsName) {
    CClientHarness harness;
    CPageIndentureSelect select{harness.Services()};
    CPageOrder page{harness.Services(), select, nullptr, nullptr};
    COrderFormWidget form{page, select};
    form.show();
    ExpectNamed(form, QAccessible::ComboBox, {"商品代码"});
    ExpectNamed(form, QAccessible::EditableText, {"交易代码", "价格", "数量"});
    ExpectNamed(form, QAccessible::RadioButton, {"买入新订", "卖出新订", "转让卖出", "转让买入", "定金", "电子货单"});
    ExpectNamed(form, QAccessible::Button, {"下单", "选择货单"});
    // The displays are read by their values and described by what they show.
    ExpectNamed(form, QAccessible::StaticText,
                {"席位代码", "卖一价", "卖一量", "买三价", "现价", "涨停", "跌停", "买订货量", "可用资金", "可用额度"},
                QAccessible::Description);
    // The amount's label follows the batch mode, and so does its name.
    page.ToggleBatchMode();
    ExpectNamed(form, QAccessible::EditableText, {"单笔数量"});
}

class AccessibleTabStrip : public testing::Test {
protected:
    AccessibleTabStrip() {
        for (int i = 0; i < 3; ++i) pages.emplace_back();
        tabs.AddPage(&pages[0], "行情");
        tabs.AddPage(&pages[1], "报单");
        tabs.AddPage(&pages[2], "资金");
        strip.show();
    }
    CClientHarness harness;
    std::deque<CMessageTarget> pages;
    CPageTabCtrl tabs{harness.bridge};
    CTabStrip strip{tabs};
};

TEST_F(AccessibleTabStrip, TheTabsAreItsChildrenWithTheirTitlesAndTheShownOneSelected) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(&strip);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->role(), QAccessible::PageTabList);
    ASSERT_EQ(list->childCount(), 3);
    tabs.SelectPage(1);
    const char* const titles[] = {"行情", "报单", "资金"};
    for (int i = 0; i < 3; ++i) {
        QAccessibleInterface* tab = list->child(i);
        ASSERT_NE(tab, nullptr);
        EXPECT_EQ(tab->role(), QAccessible::PageTab);
        EXPECT_EQ(tab->text(QAccessible::Name), QString::fromUtf8(titles[i]));
        EXPECT_EQ(tab->state().selected, i == 1) << titles[i];
        EXPECT_EQ(list->indexOfChild(tab), i);
        EXPECT_EQ(tab->parent(), list);
    }
    // Pressing a tab through its action shows its page, as a click does.
    QAccessibleActionInterface* press = list->child(2)->actionInterface();
    ASSERT_NE(press, nullptr);
    press->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(tabs.CurrentIndex(), 2);
    EXPECT_TRUE(list->child(2)->state().selected);
}

TEST(Accessibility, AListReadsItsHeadersAndCells) {
    CClientHarness harness;
    CPageCapital capital(harness.api, harness.requests);
    CListPageWidget widget(capital);
    widget.show();
    TMemberCapital record{};
    quorex::SetText(record.memberID, "0001");
    record.todayBalance = 9912580;
    capital.onRecvRspQryMemberCapital(&record, Response());
    QAccessibleInterface* table = QAccessible::queryAccessibleInterface(&widget.View());
    ASSERT_NE(table, nullptr);
    QAccessibleTableInterface* cells = table->tableInterface();
    ASSERT_NE(cells, nullptr);
    EXPECT_EQ(cells->columnCount(), 2);
    EXPECT_EQ(cells->rowCount(), CPageCapital::kRowCount);
    EXPECT_EQ(cells->columnDescription(0), QStringLiteral("资金账户"));
    EXPECT_EQ(cells->columnDescription(1), QStringLiteral("内容"));
    EXPECT_EQ(cells->cellAt(2, 0)->text(QAccessible::Name), QStringLiteral("当日可用资金"));
    EXPECT_EQ(cells->cellAt(2, 1)->text(QAccessible::Name), QStringLiteral("9912580"));
}

}  // namespace
}  // namespace kvt::test
