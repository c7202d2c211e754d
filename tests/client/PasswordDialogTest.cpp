// The password dialog's logic: its two refusals, the digests it sends, and the answer's text.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "quorex/PasswordDigest.h"
#include "client/shell/PasswordDialog.h"

using namespace kvt;
using namespace kvt::test;

namespace {

class CFakePasswordView : public CPasswordDialogView {
public:
    CPasswordForm Form() const override { return form; }
    void SetStatus(const std::string& utf8) override { status = utf8; }
    bool IsFocusOnOk() const override { return focusOnOk; }
    void FocusNextControl() override { ++focusMoves; }
    CPasswordForm form;
    std::string status;
    bool focusOnOk = true;
    int focusMoves = 0;
};

class PasswordDialogTest : public testing::Test {
protected:
    PasswordDialogTest() { harness.LogIn("00010001", "0001"); }
    CClientHarness harness;
    CFakePasswordView view;
    CPasswordDialog dialog{harness.api, harness.requests, view};
};

TEST_F(PasswordDialogTest, AnEmptyFieldOrAMismatchSendsNothing) {
    dialog.OnOk();
    EXPECT_EQ(view.status, "密码不能为空");
    view.form = {"", "new", "new"};
    dialog.OnOk();
    EXPECT_EQ(view.status, "密码不能为空");
    view.form = {"old", "Secret", "secret"};
    dialog.OnOk();
    EXPECT_EQ(view.status, "两次输入的密码不一致！");
    EXPECT_TRUE(harness.requests.passwordUpdates.empty());
}

TEST_F(PasswordDialogTest, EnterAwayFromOkMovesTheFocus) {
    view.form = {"old", "new", "new"};
    view.focusOnOk = false;
    dialog.OnOk();
    EXPECT_EQ(view.focusMoves, 1);
    EXPECT_TRUE(harness.requests.passwordUpdates.empty());
}

TEST_F(PasswordDialogTest, BothPasswordsTravelAsDigests) {
    view.form = {"trader1", "better2", "better2"};
    dialog.OnOk();
    ASSERT_EQ(harness.requests.passwordUpdates.size(), 1u);
    const TReqTraderPasswordUpdate& update = harness.requests.passwordUpdates[0];
    EXPECT_STREQ(update.traderID, "00010001");
    EXPECT_STREQ(update.memberID, "0001");
    EXPECT_EQ(std::string(update.oldPassword), quorex::PasswordDigest("trader1"));
    EXPECT_EQ(std::string(update.newPassword), quorex::PasswordDigest("better2"));
    EXPECT_EQ(view.status, "");
}

TEST_F(PasswordDialogTest, TheAnswerIsShownWhateverItsCodeAndTheDialogIsRegisteredWhileItLives) {
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EShellWindow::PasswordDialog)), &dialog);
    const TTRspMsg refused = Response("ERR000102", "旧密码错误");
    dialog.onRecvRspTraderPasswordUpdate(nullptr, refused);
    EXPECT_EQ(view.status, "旧密码错误");
    const TTRspMsg ok = Response("RSP000000", "密码修改成功");
    harness.api.onRecvRspTraderPasswordUpdate(nullptr, &ok, nullptr);
    EXPECT_EQ(view.status, "密码修改成功");
}

}  // namespace
