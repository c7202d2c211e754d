// KvtTrade's real windows and the real library against exchange-sim on loopback: the login
// through the dialog, the initial download, the account pages, a password change and the close.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "DesktopSession.h"
#include "client/shell/ui/MainWindow.h"
#include "client/shell/ui/PasswordDialogWidget.h"

using namespace kvt;
using namespace kvt::test;

TEST(DesktopEndToEnd, LogInShowTheAccountChangeThePasswordAndCloseWithOneLogout) {
    CDesktopSession session;
    ASSERT_NE(session.simulator->port, 0) << "exchange-sim did not start";
    ASSERT_TRUE(session.LogIn());
    CApplication& app = *session.application;
    EXPECT_TRUE(app.Window().isVisible());
    EXPECT_EQ(session.requests->counts["quotations"], 1);
    EXPECT_TRUE(std::filesystem::exists(session.directory / "kvtsys.data"));

    // The login dialog's capital query fills the capital page.
    CPageCapital& capital = app.Pages().Capital();
    ASSERT_TRUE(WaitUntil([&] { return capital.CellText(0, 1) == "0001"; }));
    EXPECT_EQ(capital.CellText(1, 1), "自营");

    // The e-indenture page loads when its tab is clicked.
    CPageElctIndenture& indentures = app.Pages().ElctIndentures();
    EXPECT_EQ(indentures.RowCount(), 0);
    app.Tabs().OnTabPressed(6);
    ASSERT_TRUE(WaitUntil([&] { return indentures.RowCount() == 2; }));
    EXPECT_EQ(indentures.CellText(0, 0), "E000000001");
    EXPECT_EQ(indentures.CellText(1, 0), "E000000002");

    {
        CPasswordDialogWidget dialog(app.Api(), app.Requests());
        dialog.OldPassword().setText("trader1");
        dialog.NewPassword().setText("trader1b");
        dialog.Confirmation().setText("trader1b");
        dialog.OkButton().click();
        ASSERT_TRUE(WaitUntil([&] { return !dialog.Status().text().isEmpty(); }));
        EXPECT_TRUE(WaitUntil([&] { return app.Window().StatusPane().text() == dialog.Status().text(); }));
    }

    // The close sends the logout; the exchange then drops the connection, which ends the program
    // without a box.
    app.Window().close();
    EXPECT_TRUE(app.Window().isVisible());
    EXPECT_EQ(session.requests->counts["logout"], 1);
    EXPECT_TRUE(WaitUntil([&] { return !app.Window().isVisible(); }));
    EXPECT_EQ(session.requests->counts["logout"], 1);
    EXPECT_TRUE(session.prompter.boxes.empty());
}

TEST(DesktopEndToEnd, AWrongPasswordKeepsTheDialogOpenWithTheExchangesText) {
    CDesktopSession session;
    ASSERT_NE(session.simulator->port, 0);
    QString status;
    session.extraHooks = [&](CApplicationHooks& hooks) {
        hooks.onLoginDialog = [&](CLoginDialogWidget& dialog) {
            dialog.TraderCode().setText("00010001");
            dialog.Password().setText("wrong");
            dialog.LoginButton().click();
            WaitUntil([&] { return dialog.LoginButton().isEnabled(); });
            status = dialog.Status().text();
            dialog.QuitButton().click();
        };
    };
    EXPECT_FALSE(session.LogIn());
    EXPECT_FALSE(status.isEmpty());
    EXPECT_NE(status, QStringLiteral("成功发送登陆请求,密码验证中......"));
    EXPECT_FALSE(session.application->Window().isVisible());
}

// The trader mistypes the password, reads the exchange's text and types the right one: the same
// dialog logs in and the main window opens.
TEST(DesktopEndToEnd, AfterAWrongPasswordTheRightOneOpensTheMainWindow) {
    CDesktopSession session;
    ASSERT_NE(session.simulator->port, 0);
    QString refusal;
    session.extraHooks = [&](CApplicationHooks& hooks) {
        hooks.onLoginDialog = [&](CLoginDialogWidget& dialog) {
            dialog.TraderCode().setText("00010001");
            dialog.Password().setText("wrong");
            dialog.LoginButton().click();
            WaitUntil([&] { return dialog.LoginButton().isEnabled(); });
            refusal = dialog.Status().text();
            dialog.Password().setText("trader1");
            dialog.LoginButton().click();
        };
    };
    ASSERT_TRUE(session.LogIn());
    EXPECT_EQ(refusal, QStringLiteral("密码错误"));
    EXPECT_TRUE(session.application->Window().isVisible());
    EXPECT_EQ(session.requests->counts["login"], 2);
}
