// Status texts handed over by posted messages: each keeps its own copy until it was shown, and
// GBK texts are cut at a character boundary.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"

using namespace kvt;
using namespace kvt::test;

TEST(StatusLine, ACopiedTextOutlivesTheRecordItCameFrom) {
    CClientHarness harness;
    {
        TTRspMsg borrowed = Response("RSP000000", "撤单成功");
        harness.status.Forward(borrowed, WM_ORDER_CANCEL_RSP);
        std::memset(&borrowed, 0x55, sizeof borrowed);  // the library reuses its buffer
    }
    harness.status.Show("准备发送报单.....");
    harness.bridge.Deliver();
    EXPECT_EQ(harness.statusJournal.texts, (std::vector<std::string>{"撤单成功", "准备发送报单....."}));
    EXPECT_EQ(harness.statusJournal.senders, (std::vector<WParam>{WM_ORDER_CANCEL_RSP, 0}));
    EXPECT_EQ(harness.status.PendingCount(), 0u);
}

TEST(StatusLine, TextsPostedWithoutAMainFrameAreFreedWithTheNextShownOne) {
    CClientHarness harness;
    harness.api.Windows().Register(EShellWindow::MainFrame, nullptr);
    harness.status.Show("one");
    harness.bridge.Deliver();  // dropped: nobody registered
    harness.api.Windows().Register(EShellWindow::MainFrame, nullptr, &harness.statusJournal);
    harness.status.Show("two");
    harness.bridge.Deliver();
    EXPECT_EQ(harness.statusJournal.texts, std::vector<std::string>{"two"});
    EXPECT_EQ(harness.status.PendingCount(), 0u);
}

TEST(StatusLine, AStoppedBridgeKeepsNothing) {
    CClientHarness harness;
    harness.bridge.Stop();
    harness.status.Show("lost");
    EXPECT_EQ(harness.status.PendingCount(), 0u);
}

TEST(StatusLine, ALongTextIsCutBetweenCharacters) {
    CClientHarness harness;
    const std::string text(57, 'x');
    harness.status.Show(text + "收到报单");  // 57 bytes of 60, then only one of the characters fits
    harness.bridge.Deliver();
    EXPECT_EQ(harness.statusJournal.texts, std::vector<std::string>{text + "收"});
}
