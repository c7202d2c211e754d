// The tab control's logic: adding and selecting pages, the refresh that only a mouse selection
// posts, and WM_SELECT_PAGE.
#include <gtest/gtest.h>

#include "ClientTestSupport.h"
#include "client/shell/PageTabCtrl.h"

using namespace kvt;
using namespace kvt::test;

namespace {

class CFakeTabView : public CTabObserver {
public:
    void TabsChanged() override { ++tabsChanged; }
    void CurrentChanged(int index) override { shown.push_back(index); }
    void FocusCurrentPage() override { ++pageFocused; }
    void FocusTabs() override { ++tabsFocused; }
    int tabsChanged = 0;
    std::vector<int> shown;
    int pageFocused = 0;
    int tabsFocused = 0;
};

class PageTabCtrlTest : public testing::Test {
protected:
    PageTabCtrlTest() {
        tabs.SetObserver(&view);
        for (EPageWindow window : {EPageWindow::QuotationPage, EPageWindow::OrderListPage, EPageWindow::CapitalPage}) {
            pages.emplace_back(window, journal);
        }
        for (JournalWindow& page : pages) tabs.AddPage(&page, "page");
    }

    std::vector<Delivery> Delivered() {
        harness.bridge.Deliver();
        return std::exchange(journal, {});
    }

    CClientHarness harness;
    CPageTabCtrl tabs{harness.bridge};
    CFakeTabView view;
    std::vector<Delivery> journal;
    std::deque<JournalWindow> pages;
};

TEST_F(PageTabCtrlTest, PagesAreAddedUpToThirtyTwoAndPageZeroIsShown) {
    EXPECT_EQ(tabs.PageCount(), 3);
    EXPECT_EQ(tabs.CurrentIndex(), 0);
    EXPECT_EQ(tabs.AddPage(nullptr, "none"), 0);
    std::deque<JournalWindow> more;
    for (int i = 3; i < CPageTabCtrl::kMaxPages; ++i) {
        more.emplace_back(EPageWindow::MatchPage, journal);
        EXPECT_EQ(tabs.AddPage(&more.back(), "more"), 1);
    }
    more.emplace_back(EPageWindow::MatchPage, journal);
    EXPECT_EQ(tabs.AddPage(&more.back(), "33rd"), 0);
    EXPECT_EQ(tabs.PageCount(), 32);
}

TEST_F(PageTabCtrlTest, SelectingReturnsThePreviousPageAndRefusesIndicesOutside) {
    EXPECT_EQ(tabs.SelectPage(2), 0);
    EXPECT_EQ(tabs.CurrentIndex(), 2);
    EXPECT_EQ(tabs.SelectPage(3), -1);
    EXPECT_EQ(tabs.SelectPage(-1), -1);
    EXPECT_EQ(tabs.CurrentIndex(), 2);
    EXPECT_GT(view.tabsFocused, 0);
    EXPECT_TRUE(Delivered().empty());
}

TEST_F(PageTabCtrlTest, AMouseSelectionRefreshesTheNewPageButArrowKeysAndTheSameTabDoNot) {
    tabs.OnTabPressed(2);
    const std::vector<Delivery> refresh = Delivered();
    ASSERT_EQ(refresh.size(), 1u);
    EXPECT_EQ(refresh[0], (Delivery{IdOf(EPageWindow::CapitalPage), "message " + std::to_string(WM_PAGE_REFRESH), false, ""}));

    tabs.OnTabPressed(2);
    tabs.OnArrowKey(-1);
    EXPECT_EQ(tabs.CurrentIndex(), 1);
    tabs.OnArrowKey(-1);
    tabs.OnArrowKey(-1);  // nothing before the first page
    EXPECT_EQ(tabs.CurrentIndex(), 0);
    tabs.OnTabPressed(-1);  // a press beside the tabs
    EXPECT_TRUE(Delivered().empty());
}

TEST_F(PageTabCtrlTest, SelectPageMessagesBringAPageToTheFront) {
    tabs.OnMessage(WM_SELECT_PAGE, reinterpret_cast<WParam>(static_cast<CMessageTarget*>(&pages[1])), 0);
    EXPECT_EQ(tabs.CurrentIndex(), 1);
    const std::size_t shownBefore = view.shown.size();
    tabs.OnMessage(WM_SELECT_PAGE, reinterpret_cast<WParam>(static_cast<CMessageTarget*>(&pages[1])), 0);
    EXPECT_EQ(view.shown.size(), shownBefore);
    CStatusJournal stranger(harness.status);
    tabs.OnMessage(WM_SELECT_PAGE, reinterpret_cast<WParam>(static_cast<CMessageTarget*>(&stranger)), 0);
    EXPECT_EQ(tabs.CurrentIndex(), 1);
}

}  // namespace
