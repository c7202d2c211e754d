// The main frame's logic: logout on the first close and the end on the second, the lost
// connection's one box, the two modes' heights, the clock, and response texts.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/shell/MainFrame.h"
#include "client/shell/PageTabCtrl.h"

using namespace kvt;
using namespace kvt::test;

namespace {

class CFakeFrameView : public CMainFrameView {
public:
    void ShowResponseText(const std::string& utf8) override { responseTexts.push_back(utf8); }
    void ShowClock(const std::string& text) override { clock = text; }
    void SetWindowHeight(int h) override { height = h; }
    void SetModeCaption(std::string_view utf8) override { caption = utf8; }
    void SetBatchCaption(std::string_view utf8) override { batchCaption = utf8; }
    void PostClose() override { ++closesPosted; }

    std::vector<std::string> responseTexts;
    std::string clock;
    int height = 0;
    std::string caption = "简化模式";
    std::string batchCaption = "批量模式";
    int closesPosted = 0;
};

class MainFrameTest : public testing::Test {
protected:
    MainFrameTest() {
        harness.api.Windows().Register(EShellWindow::MainFrame, nullptr);
        frame.SetView(&view);
        harness.LogIn("00010001", "0001");
    }

    void SendStatus(WParam wParam, const char* text) {
        const TTRspMsg rsp = Response("RSP000000", text);
        frame.OnMessage(WM_STATUS_TEXT, wParam, MessageLParam<WM_STATUS_TEXT>(&rsp));
    }
    void LoseConnection(const char* reason) { frame.onChannelLost(Response("", reason)); }

    CClientHarness harness;
    CPageTabCtrl tabs{harness.bridge};
    std::time_t now = 1'800'000'000;
    CMainFrame frame{harness.Services(), tabs, [this] { return now; }};
    CFakeFrameView view;
};

TEST_F(MainFrameTest, TheFirstCloseLogsOutAndKeepsTheWindowTheSecondEndsWithoutAnotherLogout) {
    EXPECT_FALSE(frame.OnCloseRequest());
    ASSERT_EQ(harness.requests.logouts.size(), 1u);
    EXPECT_STREQ(harness.requests.logouts[0].traderID, "00010001");
    EXPECT_STREQ(harness.requests.logouts[0].memberID, "0001");
    EXPECT_EQ(harness.timers.pauses, std::vector<std::chrono::milliseconds>{std::chrono::milliseconds(100)});
    EXPECT_TRUE(frame.IsClosing());

    EXPECT_TRUE(frame.OnCloseRequest());
    EXPECT_EQ(harness.requests.logouts.size(), 1u);
}

TEST_F(MainFrameTest, ALogoutThatCannotBeSentStillWaitsForTheSecondClose) {
    harness.requests.result = -1;
    EXPECT_FALSE(frame.OnCloseRequest());
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_TRUE(frame.OnCloseRequest());
}

TEST_F(MainFrameTest, ALostConnectionShowsOneBoxAndPostsACloseEachTime) {
    LoseConnection("channel disconnect");
    LoseConnection("channel disconnect");
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "通讯中断，请重新登陆!");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "channel disconnect");
    EXPECT_FALSE(harness.prompter.boxes[0].question);
    EXPECT_EQ(view.closesPosted, 2);
    // The posted close then ends the program without a logout.
    EXPECT_TRUE(frame.OnCloseRequest());
    EXPECT_TRUE(harness.requests.logouts.empty());
}

TEST_F(MainFrameTest, ALostConnectionAfterTheLogoutShowsNoBox) {
    frame.OnCloseRequest();
    LoseConnection("channel disconnect");
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_EQ(view.closesPosted, 1);
}

TEST_F(MainFrameTest, OtherStatusTextsGoToTheStatusLineAndTheirCopiesAreReleased) {
    harness.status.Show("收到报单更新信息!");
    harness.api.Windows().Register(EShellWindow::MainFrame, &frame, &frame);
    harness.bridge.Deliver();
    EXPECT_EQ(view.responseTexts, std::vector<std::string>{"收到报单更新信息!"});
    EXPECT_EQ(harness.status.PendingCount(), 0u);
    SendStatus(0, "撤单成功");
    EXPECT_EQ(view.responseTexts.back(), "撤单成功");
    frame.onRecvRspTraderPasswordUpdate(nullptr, Response("RSP000000", "密码修改成功"));
    EXPECT_EQ(view.responseTexts.back(), "密码修改成功");
    EXPECT_EQ(view.closesPosted, 0);
}

TEST_F(MainFrameTest, TheSimplifiedModeAndBackRestoreTheHeightOfTheBuiltWindow) {
    frame.SetModeHeights(740, 200);
    frame.OnToggleMode();
    EXPECT_TRUE(frame.IsSimplified());
    EXPECT_EQ(view.height, 275);
    EXPECT_EQ(view.caption, "详细模式");
    frame.OnToggleMode();
    EXPECT_FALSE(frame.IsSimplified());
    EXPECT_EQ(view.height, 740);
    EXPECT_EQ(view.caption, "简化模式");
}

TEST_F(MainFrameTest, TheClockShowsTheChineseWeekdayAndLocalTimePlusTheServerOffsetEverySecond) {
    // The harness logged in with the server at 2026-01-05 10:30:00 local time.
    TReqTraderLogin login{};
    quorex::SetText(login.tradeDate, "20260105");
    quorex::SetText(login.tradeTime, "10:30:00");
    now = LocalTime(2026, 1, 5, 10, 30, 0) - 3600;
    harness.api.LoginState().ApplyLoginResponse(login, now);
    EXPECT_EQ(harness.api.LoginState().ServerTimeOffset(), 3600);

    // 2026-01-05 is a Monday; the weekday is Chinese in the C locale the tests run in.
    frame.StartClock();
    EXPECT_EQ(view.clock, "星期一\t2026-01-05\t10:30:00");
    now += 1;
    harness.timers.Advance(std::chrono::milliseconds(1000));
    EXPECT_EQ(view.clock, "星期一\t2026-01-05\t10:30:01");
    EXPECT_EQ(harness.timers.PendingCount(), 1u);
}

TEST_F(MainFrameTest, TheBatchButtonShowsTheCaptionTheOrderPageReturns) {
    frame.OnToggleBatch();  // no page linked yet: nothing happens
    EXPECT_EQ(view.batchCaption, "批量模式");
    bool batch = false;
    frame.SetBatchToggle([&] {
        batch = !batch;
        return std::string(batch ? "单笔模式" : "批量模式");
    });
    frame.OnToggleBatch();
    EXPECT_EQ(view.batchCaption, "单笔模式");
    frame.OnToggleBatch();
    EXPECT_EQ(view.batchCaption, "批量模式");
}

TEST_F(MainFrameTest, RefreshPostsToTheShownPageOnly) {
    std::vector<Delivery> journal;
    JournalWindow quotations(EPageWindow::QuotationPage, journal), orders(EPageWindow::OrderListPage, journal);
    tabs.AddPage(&quotations, "行情");
    tabs.AddPage(&orders, "报单");
    tabs.SelectPage(1);
    frame.OnRefresh();
    harness.bridge.Deliver();
    ASSERT_EQ(journal.size(), 1u);
    EXPECT_EQ(journal[0], (Delivery{IdOf(EPageWindow::OrderListPage), "message " + std::to_string(WM_PAGE_REFRESH), false, ""}));
}

}  // namespace
