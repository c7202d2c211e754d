// The indenture selection: which indentures each mode lists, what a tick fills in, and what 确定
// makes of the rows.
#include "client/pages/PageIndentureSelect.h"

#include <gtest/gtest.h>

#include "client/ClientTestSupport.h"
#include "OrderPageTestSupport.h"

namespace kvt::test {
namespace {

class CRecordedDialog : public CIndentureSelectView {
public:
    int shown = 0;
    int closed = 0;
    void Show() override { ++shown; }
    void Close() override { ++closed; }
};

class PageIndentureSelectTest : public ::testing::Test {
protected:
    PageIndentureSelectTest() {
        harness.LogIn();
        harness.Register(EPageWindow::OrderEntryPage, &orderPage);
        select.Attach(&dialog);
    }
    ~PageIndentureSelectTest() override { harness.Unregister(EPageWindow::OrderEntryPage); }

    void Open(char mode) {
        TReqQryInstElctIndent query{};
        quorex::SetText(query.instID, "000001");
        select.Open(mode, query);
    }
    void Answer(const TElctIndenture& indenture) {
        const TTRspMsg rsp = Response();
        select.onRecvRspQryYqInstElctIndent(&indenture, rsp);
    }
    std::vector<std::string> ListedNumbers() const {
        std::vector<std::string> numbers;
        for (int row = 0; row < select.RowCount(); ++row) numbers.push_back(select.CellText(row, 1));
        return numbers;
    }

    CClientHarness harness;
    CPageIndentureSelect select{harness.Services()};
    CRecordedDialog dialog;
    std::vector<Delivery> orderJournal;
    JournalWindow orderPage{EPageWindow::OrderEntryPage, orderJournal};
};

TEST_F(PageIndentureSelectTest, NewSellModeListsWhatIsAvailable) {
    Open(CPageIndentureSelect::kNewSellMode);
    EXPECT_EQ(dialog.shown, 1);
    ASSERT_EQ(harness.requests.instIndentureQueries.size(), 1u);
    Answer(Indenture("A", 5));
    Answer(Indenture("B", 0, 9, 0));      // nothing available
    Answer(Indenture("C", 5, 0, 0, '0'));  // not usable in this market
    Answer(Indenture("D", 1));
    EXPECT_EQ(ListedNumbers(), (std::vector<std::string>{"A", "D"}));
    EXPECT_EQ(select.Columns().size(), 15u);
    EXPECT_EQ(select.CellText(0, 2), "5");
}

TEST_F(PageIndentureSelectTest, BuyTransferModeListsWhatTransfersHaveNotFrozen) {
    Open(CPageIndentureSelect::kBuyTransferMode);
    Answer(Indenture("A", 0, 6, 6));   // all frozen
    Answer(Indenture("B", 0, 6, 4));
    Answer(Indenture("C", 9, 6, 6, '1'));
    Answer(Indenture("D", 9, 9, 0, '0'));
    EXPECT_EQ(ListedNumbers(), std::vector<std::string>{"B"});
    select.OnCheckClicked(0, true);
    EXPECT_EQ(select.CellText(0, 0), "2");
}

TEST_F(PageIndentureSelectTest, OpeningAgainStartsAnEmptyList) {
    Open(CPageIndentureSelect::kNewSellMode);
    Answer(Indenture("A", 5));
    Open(CPageIndentureSelect::kBuyTransferMode);
    EXPECT_EQ(select.RowCount(), 0);
    EXPECT_EQ(select.Mode(), '1');
    EXPECT_EQ(harness.requests.instIndentureQueries.size(), 2u);
}

TEST_F(PageIndentureSelectTest, ATickFillsInTheFreezableAmountAndUntickingEmptiesIt) {
    Open(CPageIndentureSelect::kNewSellMode);
    Answer(Indenture("A", 5));
    EXPECT_FALSE(select.IsRowChecked(0));
    EXPECT_TRUE(select.IsCellEditable(0, 0));
    EXPECT_FALSE(select.IsCellEditable(0, 1));
    select.OnCheckClicked(0, true);
    EXPECT_TRUE(select.IsRowChecked(0));
    EXPECT_EQ(select.CellText(0, 0), "5");
    select.SetCellText(0, 0, "3");
    EXPECT_EQ(select.CellText(0, 0), "3");
    select.OnCheckClicked(0, false);
    EXPECT_EQ(select.CellText(0, 0), "");
}

TEST_F(PageIndentureSelectTest, ConfirmTakesTheTickedRowsWithTheirAmounts) {
    Open(CPageIndentureSelect::kNewSellMode);
    Answer(Indenture("A", 5));
    Answer(Indenture("B", 8));
    Answer(Indenture("C", 2));
    select.OnCheckClicked(0, true);
    select.OnCheckClicked(1, true);
    select.SetCellText(1, 0, "12");  // not held to the freezable amount
    select.OnCheckClicked(2, true);
    select.SetCellText(2, 0, "");    // ticked without an amount: left out
    select.OnConfirm();

    ASSERT_EQ(select.Selection().size(), 2u);
    EXPECT_STREQ(select.Selection()[0].indentNo, "A");
    EXPECT_EQ(select.Selection()[0].avaAmount, 5);
    EXPECT_STREQ(select.Selection()[1].indentNo, "B");
    EXPECT_EQ(select.Selection()[1].avaAmount, 12);
    EXPECT_EQ(select.SelectedAmount(), 17);
    EXPECT_EQ(dialog.closed, 1);
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_TRUE(orderJournal.empty());  // posted, not sent
    harness.bridge.Deliver();
    ASSERT_EQ(orderJournal.size(), 1u);
    EXPECT_EQ(orderJournal[0].what, "message " + std::to_string(WM_INDENTURE_SELECTED));
}

// One order carries at most kMaxYqOrderIndentures: a choice of more is refused before anything is
// sent, and the dialog stays open; at the limit it is taken.
TEST_F(PageIndentureSelectTest, AChoiceOfMoreIndenturesThanAnOrderCarriesIsRefused) {
    Open(CPageIndentureSelect::kNewSellMode);
    const int limit = CTraderApi::kMaxYqOrderIndentures;
    for (int i = 0; i <= limit; ++i) {
        Answer(Indenture(("E" + std::to_string(i)).c_str(), 1));
        select.OnCheckClicked(i, true);
    }
    select.OnConfirm();
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "一笔报单最多使用121张电子货单,请减少选择!");
    EXPECT_TRUE(select.Selection().empty());
    EXPECT_EQ(dialog.closed, 0);

    select.OnCheckClicked(limit, false);
    select.OnConfirm();
    EXPECT_EQ(select.Selection().size(), static_cast<std::size_t>(limit));
    EXPECT_EQ(dialog.closed, 1);
}

TEST_F(PageIndentureSelectTest, ConfirmWithNothingToTakeSaysSoInABox) {
    Open(CPageIndentureSelect::kNewSellMode);
    select.OnConfirm();
    Answer(Indenture("A", 5));
    select.OnConfirm();
    ASSERT_EQ(harness.prompter.boxes.size(), 2u);
    for (const auto& box : harness.prompter.boxes) {
        EXPECT_EQ(box.text, "请选择电子货单！");
        EXPECT_EQ(box.caption, "消息！");
        EXPECT_FALSE(box.question);
    }
    EXPECT_EQ(dialog.closed, 0);
    harness.bridge.Deliver();
    EXPECT_TRUE(orderJournal.empty());

    select.OnCancel();
    EXPECT_EQ(dialog.closed, 1);
}

}  // namespace
}  // namespace kvt::test
