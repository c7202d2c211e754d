// The login dialog's logic: the settings file, the checks in their order, the request with the
// digest, the auto-login timer, the answers and the end of the initial download.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <unistd.h>

#include "ClientTestSupport.h"
#include "client/shell/LoginDialog.h"
#include "client/shell/LoginSettings.h"
#include "quorex/PasswordDigest.h"

using namespace kvt;
using namespace kvt::test;

namespace {

class CFakeLoginView : public CLoginDialogView {
public:
    CLoginForm Form() const override { return form; }
    void SetForm(const CLoginForm& f) override { form = f; }
    void SetStatus(const std::string& utf8) override { statuses.push_back(utf8); }
    void SetLoginEnabled(bool enabled) override { loginEnabled = enabled; }
    bool IsFocusOnLogin() const override { return focusOnLogin; }
    void FocusNextControl() override { ++focusMoves; }
    void Focus(ELoginControl control) override { focused.push_back(control); }
    void ShowDownloadProgress(std::uint64_t records) override { progress = records; }
    void Accept() override { accepted = true; }

    CLoginForm form;
    std::vector<std::string> statuses;
    bool loginEnabled = true;
    bool focusOnLogin = true;
    int focusMoves = 0;
    std::vector<ELoginControl> focused;
    std::uint64_t progress = 0;
    bool accepted = false;
};

class LoginDialogTest : public testing::Test {
protected:
    LoginDialogTest() {
        servers[1] = {"10.0.0.2", 7002};
        std::filesystem::remove(path);
    }
    ~LoginDialogTest() override { std::filesystem::remove(path); }

    void Open() { dialog.Init(view); }
    void Fill(std::string code, std::string password, int server = 0) {
        view.form.traderCode = std::move(code);
        view.form.password = std::move(password);
        view.form.serverIndex = server;
    }
    std::string LastStatus() const { return view.statuses.empty() ? std::string() : view.statuses.back(); }

    CClientHarness harness;
    CServerList servers;
    // Tests run in parallel processes: each has a file of its own.
    std::string path = testing::TempDir() + "kvtsys-" + testing::UnitTest::GetInstance()->current_test_info()->name() +
                       "-" + std::to_string(::getpid()) + ".data";
    CLoginDialog dialog{harness.api, harness.requests, harness.timers, servers, path};
    CFakeLoginView view;
};

TEST_F(LoginDialogTest, TheRequestCarriesTheCodeItsMemberPrefixAndThePasswordDigestToTheChosenServer) {
    Open();
    EXPECT_EQ(harness.api.Windows().Events(IdOf(EShellWindow::LoginDialog)), &dialog);
    Fill("00010001", "trader1", 1);
    dialog.OnOk();
    ASSERT_EQ(harness.requests.logins.size(), 1u);
    const TReqTraderLogin& login = harness.requests.logins[0];
    EXPECT_STREQ(login.traderID, "00010001");
    EXPECT_STREQ(login.memberID, "0001");
    EXPECT_EQ(std::string(login.password), quorex::PasswordDigest("trader1"));
    EXPECT_NE(std::string(login.password), quorex::PasswordDigest("trader2"));
    EXPECT_EQ(harness.requests.calls.front(), "UseServer");
    EXPECT_EQ(harness.requests.host, "10.0.0.2");
    EXPECT_EQ(harness.requests.port, 7002);
    EXPECT_FALSE(view.loginEnabled);
    EXPECT_EQ(view.statuses, (std::vector<std::string>{"正在登陆......", "成功发送登陆请求,密码验证中......"}));
}

TEST_F(LoginDialogTest, EnterAwayFromTheButtonMovesTheFocusAndSendsNothing) {
    Open();
    Fill("00010001", "trader1");
    view.focusOnLogin = false;
    dialog.OnOk();
    EXPECT_EQ(view.focusMoves, 1);
    EXPECT_TRUE(harness.requests.calls.empty());
}

TEST_F(LoginDialogTest, TheChecksRunInOrderAndSendNothing) {
    Open();
    Fill("", "");
    dialog.OnOk();
    EXPECT_EQ(LastStatus(), "交易员代码不能为空......");
    Fill("00010001", "");
    dialog.OnOk();
    EXPECT_EQ(LastStatus(), "密码不能为空......");
    EXPECT_EQ(view.focused, (std::vector<ELoginControl>{ELoginControl::TraderCode, ELoginControl::Password}));
    Fill("00010001", "trader1", -1);
    dialog.OnOk();
    EXPECT_EQ(LastStatus(), "请选择服务器......");
    EXPECT_TRUE(harness.requests.logins.empty());
}

TEST_F(LoginDialogTest, AFailedSendEnablesTheButtonAgain) {
    Open();
    Fill("00010001", "trader1");
    harness.requests.result = -1;
    dialog.OnOk();
    EXPECT_EQ(LastStatus(), "发送登陆请求失败,请稍候再试......");
    EXPECT_TRUE(view.loginEnabled);
}

TEST_F(LoginDialogTest, ARejectionShowsTheServersTextAndACodeWithTrailingTextIsARejection) {
    Open();
    Fill("00010001", "wrong");
    dialog.OnOk();
    const TTRspMsg refused = Response("ERR000101", "密码错误");
    dialog.onRecvRspTraderLogin(nullptr, refused);
    EXPECT_EQ(LastStatus(), "密码错误");
    EXPECT_TRUE(view.loginEnabled);
    TTRspMsg longer = Response("RSP0000001", "not quite");
    dialog.onRecvRspTraderLogin(nullptr, longer);
    EXPECT_EQ(LastStatus(), "not quite");
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(LoginDialogTest, FilesTheLibraryCannotUseAreNamedWithWhatToRemove) {
    Open();
    Fill("00010001", "trader1");
    dialog.OnOk();
    const TTRspMsg failed = Response("ERR999998", "本地文件不可用:log00010001.con");
    dialog.onRecvRspTraderLogin(nullptr, failed);
    EXPECT_EQ(LastStatus(), "本地文件不可用:log00010001.con,请删除 log00010001.id、log00010001.con 和 "
                            "t_private00010001.dat、t_member00010001.dat、t_market00010001.dat 后重新登陆");
    EXPECT_TRUE(view.loginEnabled);
}

// The library ends a session the dialog waits on (the exchange went, or a file failed during the
// replay): the dialog says so and lets the trader log in again, also during the download.
TEST_F(LoginDialogTest, AConnectionLostWhileTheDialogWaitsIsShownAndTheLoginCanBeRepeated) {
    Open();
    Fill("00010001", "trader1");
    dialog.OnOk();
    harness.api.onChannelLost("channel disconnect");
    EXPECT_EQ(LastStatus(), "与交易所的连接已断开,请重新登陆......");
    EXPECT_TRUE(view.loginEnabled);

    dialog.OnOk();
    const TTRspMsg ok = Response();
    dialog.onRecvRspTraderLogin(nullptr, ok);
    harness.api.onChannelLost("local failure");
    EXPECT_EQ(LastStatus(), "本地文件读写失败,请检查磁盘空间后重新登陆......");
    EXPECT_TRUE(view.loginEnabled);
    EXPECT_EQ(harness.timers.PendingCount(), 0u) << "the download's progress stopped";
    EXPECT_EQ(harness.requests.logins.size(), 2u);
}

TEST_F(LoginDialogTest, SuccessWritesTheSettingsAndTheDownloadEndsTheDialogWithTheTwoQueries) {
    Open();
    Fill("00010001", "trader1", 2);
    view.form.rememberPassword = true;
    dialog.OnOk();
    const TTRspMsg ok = Response();
    dialog.onRecvRspTraderLogin(nullptr, ok);
    EXPECT_EQ(LastStatus(), "密码验证通过,正在下载初始化数据,请稍候......");
    EXPECT_EQ(std::filesystem::file_size(path), kLoginSettingsSize);
    CLoginSettings stored;
    ASSERT_TRUE(ReadLoginSettings(path, stored));
    EXPECT_EQ(stored.traderCode, "00010001");
    EXPECT_EQ(stored.password, "trader1");
    EXPECT_EQ(stored.serverIndex, 2);
    EXPECT_TRUE(stored.rememberPassword);
    EXPECT_FALSE(stored.autoLogin);

    harness.LogIn("00010001", "0001");
    dialog.onRecvReqSendOver();
    EXPECT_EQ(LastStatus(), "初始化数据下载完成,正在初始化交易界面......");
    ASSERT_EQ(harness.requests.quotationQueries.size(), 1u);
    EXPECT_STREQ(harness.requests.quotationQueries[0].instID, "");
    ASSERT_EQ(harness.requests.capitalQueries.size(), 1u);
    EXPECT_STREQ(harness.requests.capitalQueries[0].memberID, "0001");
    EXPECT_EQ(harness.requests.capitalQueries[0].accountType, '0');
    EXPECT_TRUE(view.accepted);
}

TEST_F(LoginDialogTest, TheDownloadShowsHowManyRecordsArrived) {
    Open();
    Fill("00010001", "trader1");
    dialog.OnOk();
    const TTRspMsg ok = Response();
    dialog.onRecvRspTraderLogin(nullptr, ok);
    const TYuanQiInst instrument{};
    for (int i = 0; i < 3; ++i) harness.api.onRecvYuanQiInstInfo(&instrument, &ok, nullptr);
    harness.timers.Advance(std::chrono::milliseconds(200));
    EXPECT_EQ(view.progress, 3u);
    dialog.onRecvReqSendOver();
    EXPECT_EQ(harness.timers.PendingCount(), 0u);
}

TEST_F(LoginDialogTest, RememberedSettingsFillTheFormAndAutoLoginStartsAfterTwoSeconds) {
    WriteLoginSettings(path, {"00010001", "trader1", 1, true, true});
    Open();
    EXPECT_EQ(view.form.traderCode, "00010001");
    EXPECT_EQ(view.form.password, "trader1");
    EXPECT_EQ(view.form.serverIndex, 1);
    EXPECT_TRUE(view.form.rememberPassword && view.form.autoLogin);
    view.focusOnLogin = false;  // the timer logs in wherever the focus is
    harness.timers.Advance(std::chrono::milliseconds(1999));
    EXPECT_TRUE(harness.requests.logins.empty());
    harness.timers.Advance(std::chrono::milliseconds(1));
    EXPECT_EQ(harness.requests.logins.size(), 1u);
}

TEST_F(LoginDialogTest, ClearingAutoLoginBeforeTheTimerKeepsTheDialogWaiting) {
    WriteLoginSettings(path, {"00010001", "trader1", 0, true, true});
    Open();
    view.form.autoLogin = false;
    harness.timers.RunAll();
    EXPECT_TRUE(harness.requests.logins.empty());
}

TEST_F(LoginDialogTest, WithoutTheRememberFlagNothingIsFilledInAndNoTimerRuns) {
    WriteLoginSettings(path, {"00010001", "trader1", 3, false, true});
    Open();
    EXPECT_EQ(view.form.traderCode, "");
    EXPECT_EQ(view.form.password, "");
    EXPECT_FALSE(view.form.rememberPassword || view.form.autoLogin);
    EXPECT_EQ(view.form.serverIndex, 3);
    EXPECT_EQ(harness.timers.PendingCount(), 0u);
}

TEST_F(LoginDialogTest, TickingAutoLoginTicksRemember) {
    Open();
    view.form.autoLogin = true;
    dialog.OnAutoLoginClicked();
    EXPECT_TRUE(view.form.rememberPassword);
    view.form.autoLogin = false;
    dialog.OnAutoLoginClicked();
    EXPECT_TRUE(view.form.rememberPassword);
}

TEST_F(LoginDialogTest, TheDialogUnregistersWhenItGoes) {
    {
        CLoginDialog other(harness.api, harness.requests, harness.timers, servers, path);
        other.Init(view);
        EXPECT_TRUE(harness.api.Windows().IsRegistered(IdOf(EShellWindow::LoginDialog)));
    }
    EXPECT_FALSE(harness.api.Windows().IsRegistered(IdOf(EShellWindow::LoginDialog)));
}

}  // namespace
