// The shell's widgets, offscreen: the tab row's colours, clicks and keys; the login and password
// dialogs' Enter walking and length limits; the main window's close and its two modes.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <unistd.h>

#include "ClientTestSupport.h"
#include "client/shell/LoginDialog.h"
#include "client/shell/PageTabCtrl.h"
#include "client/app/Application.h"
#include "client/shell/ui/LoginDialogWidget.h"
#include "client/shell/ui/MainWindow.h"
#include "client/shell/ui/PasswordDialogWidget.h"
#include "client/shell/ui/TabStrip.h"

using namespace kvt;
using namespace kvt::test;

namespace {

class TabStripTest : public testing::Test {
protected:
    TabStripTest() {
        for (EPageWindow window : {EPageWindow::QuotationPage, EPageWindow::OrderListPage, EPageWindow::CapitalPage}) {
            pages.emplace_back(window, journal);
        }
        tabs.AddPage(&pages[0], "行情");
        tabs.AddPage(&pages[1], "报单");
        tabs.AddPage(&pages[2], "资金");
        strip.resize(400, strip.sizeHint().height());
        strip.show();
    }
    std::vector<Delivery> Delivered() {
        harness.bridge.Deliver();
        return std::exchange(journal, {});
    }

    CClientHarness harness;
    std::vector<Delivery> journal;
    std::deque<JournalWindow> pages;
    CPageTabCtrl tabs{harness.bridge};
    CTabStrip strip{tabs};
};

TEST_F(TabStripTest, TheCurrentTabAndTheOthersHaveTheirColours) {
    tabs.SelectPage(1);
    const QImage image = strip.grab().toImage();
    const QPoint inside(strip.TabRect(1).left() + 3, strip.TabRect(1).top() + 3);
    EXPECT_EQ(image.pixelColor(inside * image.devicePixelRatio()), QColor(204, 216, 228));
    const QPoint other(strip.TabRect(0).left() + 3, strip.TabRect(0).top() + 3);
    EXPECT_EQ(image.pixelColor(other * image.devicePixelRatio()), QColor(200, 200, 200));
    const QPoint background(strip.width() - 3, strip.height() / 2);
    EXPECT_EQ(image.pixelColor(background * image.devicePixelRatio()), QColor(200, 200, 200));
}

TEST_F(TabStripTest, AClickOnATabRefreshesItsPageTheArrowKeysDoNot) {
    QTest::mouseClick(&strip, Qt::LeftButton, {}, strip.TabRect(2).center());
    EXPECT_EQ(tabs.CurrentIndex(), 2);
    const std::vector<Delivery> refresh = Delivered();
    ASSERT_EQ(refresh.size(), 1u);
    EXPECT_EQ(refresh[0], (Delivery{IdOf(EPageWindow::CapitalPage), "message " + std::to_string(WM_PAGE_REFRESH), false, ""}));

    QTest::keyClick(&strip, Qt::Key_Left);
    EXPECT_EQ(tabs.CurrentIndex(), 1);
    QTest::keyClick(&strip, Qt::Key_Right);
    EXPECT_EQ(tabs.CurrentIndex(), 2);
    EXPECT_TRUE(Delivered().empty());
}

class LoginDialogWidgetTest : public testing::Test {
protected:
    LoginDialogWidgetTest() { std::filesystem::remove(path); }
    ~LoginDialogWidgetTest() override { std::filesystem::remove(path); }

    CClientHarness harness;
    CServerList servers;
    std::string path = testing::TempDir() + "kvtsys-widget-" + std::to_string(::getpid()) + ".data";
    CLoginDialog logic{harness.api, harness.requests, harness.timers, servers, path};
    CLoginDialogWidget dialog{logic};
};

TEST_F(LoginDialogWidgetTest, TheFieldsLimitTheirLengthAndEnterWalksThemWithoutSending) {
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    EXPECT_EQ(dialog.Servers().count(), 4);
    EXPECT_EQ(dialog.Servers().itemText(3), QStringLiteral("Kvt服务器4"));
    EXPECT_EQ(dialog.Password().echoMode(), QLineEdit::Password);
    dialog.TraderCode().setFocus();
    QTest::keyClicks(&dialog.TraderCode(), "0001000199");
    EXPECT_EQ(dialog.TraderCode().text(), QStringLiteral("00010001"));
    QTest::keyClick(&dialog.TraderCode(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), &dialog.Password());
    EXPECT_TRUE(harness.requests.calls.empty());

    QTest::keyClicks(&dialog.Password(), "trader1");
    dialog.LoginButton().setFocus();
    QTest::keyClick(&dialog.LoginButton(), Qt::Key_Return);
    ASSERT_EQ(harness.requests.logins.size(), 1u);
    EXPECT_STREQ(harness.requests.logins[0].traderID, "00010001");
    EXPECT_FALSE(dialog.LoginButton().isEnabled());
    EXPECT_EQ(dialog.Status().text(), QStringLiteral("成功发送登陆请求,密码验证中......"));
}

TEST_F(LoginDialogWidgetTest, TickingAutoLoginTicksRemember) {
    dialog.show();
    dialog.AutoLogin().click();
    EXPECT_TRUE(dialog.Remember().isChecked());
}

TEST(PasswordDialogWidget, EnterInTheOldPasswordMovesToTheNewOne) {
    CClientHarness harness;
    CPasswordDialogWidget dialog(harness.api, harness.requests);
    dialog.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dialog));
    dialog.OldPassword().setFocus();
    QTest::keyClicks(&dialog.OldPassword(), "old");
    QTest::keyClick(&dialog.OldPassword(), Qt::Key_Return);
    EXPECT_EQ(dialog.focusWidget(), &dialog.NewPassword());
    EXPECT_TRUE(harness.requests.passwordUpdates.empty());
    dialog.OkButton().click();
    EXPECT_EQ(dialog.Status().text(), QStringLiteral("密码不能为空"));
}

class MainWindowTest : public testing::Test {
protected:
    CScriptedPrompter prompter;
    CManualTimers timers;
    std::unique_ptr<CApplication> app = [this] {
        CApplicationHooks hooks;
        hooks.prompter = &prompter;
        hooks.timers = &timers;
        hooks.layoutFile.clear();  // the window as built, whatever an earlier run left
        return std::make_unique<CApplication>(CStartOptions{}, hooks);
    }();
};

TEST_F(MainWindowTest, TheFirstCloseKeepsTheWindowOpenTheSecondClosesIt) {
    CMainWindow& window = app->Window();
    window.show();
    window.close();
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(app->Frame().IsClosing());
    window.close();
    EXPECT_FALSE(window.isVisible());
}

TEST_F(MainWindowTest, TheModeButtonChangesOnlyTheHeightAndRestoresIt) {
    CMainWindow& window = app->Window();
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    const QRect detailed = window.geometry();
    window.ModeButton().click();
    EXPECT_EQ(window.ModeButton().text(), QStringLiteral("详细模式"));
    EXPECT_LT(window.geometry().height(), detailed.height());
    EXPECT_EQ(window.geometry().width(), detailed.width());
    window.ModeButton().click();
    EXPECT_EQ(window.ModeButton().text(), QStringLiteral("简化模式"));
    EXPECT_EQ(window.geometry().height(), detailed.height());
}

TEST_F(MainWindowTest, StatusTextsReachThePaneAndTheStripAndTheBatchButtonStartsHidden) {
    CMainWindow& window = app->Window();
    EXPECT_TRUE(window.BatchButton().isHidden());
    const TTRspMsg rsp = Response("RSP000000", "委托成功");
    app->Frame().OnMessage(WM_STATUS_TEXT, 0, MessageLParam<WM_STATUS_TEXT>(&rsp));
    EXPECT_EQ(window.StatusPane().text(), QStringLiteral("委托成功"));
    EXPECT_EQ(window.ResponseText().text(), QStringLiteral("委托成功"));
    EXPECT_FALSE(window.ClockPane().text().isEmpty());

    // A screen reader reads the two panes apart: each its text, described by what it shows.
    QAccessibleInterface* status = QAccessible::queryAccessibleInterface(&window.StatusPane());
    QAccessibleInterface* clock = QAccessible::queryAccessibleInterface(&window.ClockPane());
    ASSERT_NE(status, nullptr);
    ASSERT_NE(clock, nullptr);
    EXPECT_EQ(status->text(QAccessible::Name), QStringLiteral("委托成功"));
    EXPECT_EQ(status->text(QAccessible::Description), QStringLiteral("状态信息"));
    EXPECT_EQ(clock->text(QAccessible::Name), window.ClockPane().text());
    EXPECT_EQ(clock->text(QAccessible::Description), QStringLiteral("时钟"));
}

}  // namespace
