#include "client/pages/PagePreOrder.h"

#include <gtest/gtest.h>

#include "PreOrderTestSupport.h"
#include "client/ClientTestSupport.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/TypedRecordTable.h"

using namespace kvt;
using namespace kvt::test;
using namespace std::chrono_literals;

namespace {

constexpr char kParkedText[] = "预埋";
constexpr char kFailedText[] = "发送失败";

class CPostJournal : public CMessageTarget {
public:
    void OnMessage(unsigned message, WParam wParam, LParam) override { received.push_back({message, wParam}); }
    std::vector<std::pair<unsigned, WParam>> received;
};

class CShownRows : public CListObserver {
public:
    void BeginInsert(int, int) override {}
    void EndInsert() override {}
    void BeginRemove(int, int) override {}
    void EndRemove() override {}
    void RowsChanged(int first, int) override { changed.push_back(first); }
    void BeginReset() override {}
    void EndReset() override {}
    void ShowRow(int row) override { shown.push_back(row); }
    std::vector<int> changed;
    std::vector<int> shown;
};

class PagePreOrder : public testing::Test {
protected:
    PagePreOrder() {
        harness.LogIn();
        harness.Register(EShellWindow::TabControl, &tabs);
        page.SetObserver(&observer);
    }
    ~PagePreOrder() override { harness.Unregister(EShellWindow::TabControl); }

    void Park(int count, char status = '\0') {
        for (int i = 0; i < count; ++i) {
            TYqOrder order = ParkableOrder(2350 + 10 * i);
            order.status = status;
            page.AddPreOrder(order, DepositList(), false);
        }
    }
    void Tick(std::initializer_list<int> rows) {
        for (int row : rows) page.OnCheckClicked(row, true);
    }
    void Answer(const char* orderNo, const char* localOrderNo, const char* code = "RSP000000") {
        TYqOrder echo = ParkableOrder();
        quorex::SetText(echo.orderNo, orderNo);
        quorex::SetText(echo.localOrderNo, localOrderNo);
        const TTRspMsg rsp = Response(code);
        page.onRecvRspYqOrder(&echo, rsp);
    }
    std::vector<std::string> SentLocalNumbers() const {
        std::vector<std::string> numbers;
        for (const auto& sent : harness.requests.orders) numbers.emplace_back(quorex::FieldText(sent.order.localOrderNo));
        return numbers;
    }
    std::string Number(int row) const { return page.CellText(row, 1); }
    std::string State(int row) const { return page.CellText(row, 7); }
    std::string SentNumber() const {
        CLoginState::OrderNo sent;
        harness.api.LoginState().GetNextLocalOrderNo(sent);
        return sent;
    }

    CClientHarness harness;
    CScratchDirectory scratch;
    CPostJournal tabs;
    CShownRows observer;
    CPagePreOrder page{harness.Services(), scratch.Name()};
};

}  // namespace

TEST_F(PagePreOrder, RowsShowTheTenColumnsOfTheParkedOrder) {
    const std::vector<std::string> titles{"", "预埋单号", "商品代码", "买卖", "新订转让", "价格", "数量", "状态", "交易代码", "履约保证"};
    const std::vector<int> widths{24, 60, 80, 40, 60, 40, 40, 60, 60, 60};
    ASSERT_EQ(page.Columns().size(), titles.size());
    for (std::size_t c = 0; c < titles.size(); ++c) {
        EXPECT_EQ(page.Columns()[c].title, titles[c]);
        EXPECT_EQ(page.Columns()[c].width, widths[c]);
    }
    CTypedRecordTable<TYuanQiInst> instruments({&CompareInstrumentKey});
    TYuanQiInst instrument{};
    quorex::SetText(instrument.instID, "SR0601");
    quorex::SetText(instrument.yqInstID, "SR601");
    instruments.Insert(instrument);
    harness.api.SetInstrumentTable(&instruments);

    page.AddPreOrder(ParkableOrder(2350.4, 5, 's'), DepositList(), false);
    const std::vector<std::string> cells{"", "00000001", "SR601", "卖", "新订", "2350", "5", kParkedText, "00010011", "定金"};
    for (int c = 0; c < 10; ++c) EXPECT_EQ(page.CellText(0, c), cells[static_cast<std::size_t>(c)]) << c;
    EXPECT_TRUE(page.HasCheckBoxes());
    harness.api.SetInstrumentTable(nullptr);
}

TEST_F(PagePreOrder, AddingNumbersEachPreOrderAndReportsIt) {
    Park(1);
    TYqOrder failed = ParkableOrder();
    failed.status = '3';
    page.AddPreOrder(failed, {Indenture("WR00000001", 2)}, false);  // a list without its ending entry
    EXPECT_EQ(Number(0), "00000001");
    EXPECT_EQ(Number(1), "00000002");
    EXPECT_EQ(State(0), kParkedText);
    EXPECT_EQ(State(1), kFailedText);
    ASSERT_EQ(page.Indentures(1).size(), 2u);
    EXPECT_EQ(page.Indentures(1)[1].indentNo[0], '\0');
    EXPECT_EQ(harness.StatusTexts(), (std::vector<std::string>{"预埋报单成功!", "预埋报单成功!"}));
    EXPECT_TRUE(tabs.received.empty());
    EXPECT_TRUE(observer.shown.empty());
}

TEST_F(PagePreOrder, BringingIntoViewSelectsThePageAndShowsTheRow) {
    Park(1);
    page.AddPreOrder(ParkableOrder(), DepositList(), true);
    EXPECT_TRUE(tabs.received.empty());  // posted, not sent
    harness.bridge.Deliver();
    ASSERT_EQ(tabs.received.size(), 1u);
    EXPECT_EQ(tabs.received[0].first, WM_SELECT_PAGE);
    EXPECT_EQ(tabs.received[0].second, reinterpret_cast<WParam>(static_cast<CMessageTarget*>(&page)));
    EXPECT_EQ(observer.shown, std::vector<int>{1});
}

TEST_F(PagePreOrder, TicksReportTheirCountAndDecideTheMenu) {
    Park(2);
    harness.StatusTexts();
    auto texts = [this] {
        std::vector<std::string_view> items;
        for (const CPreOrderMenuItem& item : page.MenuItems()) items.push_back(item.text);
        return items;
    };
    EXPECT_EQ(texts(), (std::vector<std::string_view>{"发送所有预埋单", "删除所有预埋单"}));
    Tick({0, 1});
    page.OnCheckClicked(0, false);
    EXPECT_EQ(harness.StatusTexts(), (std::vector<std::string>{"选中了1笔预埋单", "选中了2笔预埋单", "选中了1笔预埋单"}));
    EXPECT_EQ(texts(), (std::vector<std::string_view>{"发送选中预埋单", "发送所有预埋单", "删除选中预埋单", "删除所有预埋单"}));
}

TEST_F(PagePreOrder, SendSelectedNumbersFromTheBaseOneOrderPer100ms) {
    Park(3);
    page.AddPreOrder(ParkableOrder(), {Indenture("WR00000001", 2), TYqFrznElctIndenture{}}, false);
    Tick({0, 3});
    harness.StatusTexts();
    page.Run(EPreOrderCommand::SendSelected);
    EXPECT_EQ(SentLocalNumbers(), std::vector<std::string>{"00000000000042"});
    harness.timers.Advance(99ms);
    EXPECT_EQ(harness.requests.orders.size(), 1u);
    harness.timers.Advance(1ms);
    EXPECT_EQ(SentLocalNumbers(), (std::vector<std::string>{"00000000000042", "00000000000043"}));
    EXPECT_EQ(quorex::FieldText(harness.requests.orders[1].order.orderNo), "00000004");
    EXPECT_EQ(harness.requests.orders[1].indentures.size(), 2u);
    EXPECT_EQ(SentNumber(), "00000000000043");
    EXPECT_EQ(State(0), kFailedText);
    EXPECT_EQ(State(1), kParkedText);
    EXPECT_EQ(State(3), kFailedText);
    EXPECT_TRUE(harness.StatusTexts().empty());
    harness.timers.Advance(100ms);
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"选中了2笔预埋单"});
    EXPECT_FALSE(page.IsCommandRunning());
}

TEST_F(PagePreOrder, TheBaseIsTheLargerOfTheAcknowledgedAndTheSentNumber) {
    CLocalOrderNumbers numbers(harness.api.LoginState());
    numbers.OnSent("00000000000050");  // an order of the entry page, not answered yet
    Park(2);
    page.SendAll();
    harness.timers.RunAll();
    CLoginState::OrderNo acknowledged = "00000000000070";
    harness.api.LoginState().SetAcknowledgedLocalOrderNo(acknowledged);
    Park(1);
    page.SendAll();
    harness.timers.RunAll();
    EXPECT_EQ(SentLocalNumbers(), (std::vector<std::string>{"00000000000051", "00000000000052", "00000000000071"}));
}

TEST_F(PagePreOrder, RowsThatFailedAreSkippedByBothSends) {
    Park(2);
    Tick({0});
    page.SendSelected();
    harness.timers.RunAll();
    Tick({1});
    page.SendSelected();
    harness.timers.RunAll();
    page.SendAll();
    harness.timers.RunAll();
    EXPECT_EQ(SentLocalNumbers(), (std::vector<std::string>{"00000000000042", "00000000000043"}));
    EXPECT_EQ(harness.prompter.boxes.size(), 1u);
}

TEST_F(PagePreOrder, MoreThan20RowsAreRefusedBeforeAnyQuestion) {
    Park(20, '3');
    Park(1);
    harness.StatusTexts();
    page.SendAll();
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"同时发送的报单数量不能超过20笔....."});
    for (int row = 0; row < 21; ++row) page.OnCheckClicked(row, true);
    harness.StatusTexts();
    page.SendSelected();
    harness.timers.RunAll();
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"同时发送的报单数量不能超过20笔....."});
    EXPECT_TRUE(harness.requests.orders.empty());
}

TEST_F(PagePreOrder, SendAllAsksFirstAndSendsOnlyOnYes) {
    Park(2);
    Tick({1});
    harness.prompter.answers = {false, true};
    page.SendAll();
    EXPECT_TRUE(harness.requests.orders.empty());
    page.SendAll();
    harness.timers.RunAll();
    ASSERT_EQ(harness.prompter.boxes.size(), 2u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定发送所有预埋单?");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备发送所有预埋单");
    EXPECT_EQ(harness.requests.orders.size(), 2u);
    EXPECT_EQ(harness.LastStatus(), "选中了1笔预埋单");
}

TEST_F(PagePreOrder, AnOrderTheLibraryRefusesIsMarkedFailedAndAwaitsNoAnswer) {
    Park(1);
    harness.requests.result = -1;
    page.SendAll();
    harness.timers.RunAll();
    EXPECT_EQ(State(0), kFailedText);
    EXPECT_EQ(SentNumber(), "00000000000041");
    Answer("20260105000001", "00000000000042");  // a later order that got the unused number
    EXPECT_EQ(page.RowCount(), 1);
}

TEST_F(PagePreOrder, AnAcceptanceRemovesTheSentRowItBelongsTo) {
    Park(2);
    Tick({0});
    page.SendSelected();
    harness.timers.RunAll();
    // The entry page's order, numbered by the exchange with the parked row's 8-digit number.
    Answer("00000002", "00000000000099");
    Answer("00000001", "00000000000099");
    EXPECT_EQ(page.RowCount(), 2);
    // The exchange answers with its own order number and the local one the row went with.
    Answer("20260105000001", "00000000000042");
    ASSERT_EQ(page.RowCount(), 1);
    EXPECT_EQ(Number(0), "00000002");
    EXPECT_EQ(page.CheckedCount(), 0);
}

TEST_F(PagePreOrder, ARefusalLeavesTheRowFailedForGood) {
    Park(1);
    page.SendAll();
    harness.timers.RunAll();
    Answer("00000001", "00000000000042", "RSP000101");
    EXPECT_EQ(State(0), kFailedText);
    Answer("20260105000001", "00000000000042");  // another order that took the refused number again
    EXPECT_EQ(page.RowCount(), 1);
}

TEST_F(PagePreOrder, AnAnswerWithoutLocalNumberIsMatchedByTheEchoedPreOrderNumber) {
    Park(2);
    Tick({1});
    page.SendSelected();
    harness.timers.RunAll();
    Answer("00000001", "");  // parked, never sent
    EXPECT_EQ(page.RowCount(), 2);
    Answer("00000002", "");
    ASSERT_EQ(page.RowCount(), 1);
    EXPECT_EQ(Number(0), "00000001");
}

TEST_F(PagePreOrder, ARowDeletedBeforeItsTurnIsNotSent) {
    Park(2);
    Tick({0, 1});
    page.SendSelected();
    page.DeleteAll();
    harness.timers.RunAll();
    EXPECT_EQ(harness.requests.orders.size(), 1u);
    EXPECT_EQ(page.RowCount(), 0);
    Answer("20260105000001", "00000000000042");  // the answer of the deleted row finds nothing
}

TEST_F(PagePreOrder, DeletingTickedRowsTakesOnePer50msAndDeletingAllAsks) {
    Park(4);
    Tick({0, 2});
    harness.StatusTexts();
    page.DeleteSelected();
    EXPECT_EQ(page.RowCount(), 3);
    harness.timers.Advance(49ms);
    EXPECT_EQ(page.RowCount(), 3);
    harness.timers.Advance(1ms);
    ASSERT_EQ(page.RowCount(), 2);
    EXPECT_EQ(Number(0), "00000002");
    EXPECT_EQ(Number(1), "00000004");
    harness.timers.Advance(50ms);
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"选中了0笔预埋单"});

    harness.prompter.answers = {false, true};
    page.DeleteAll();
    EXPECT_EQ(page.RowCount(), 2);
    page.DeleteAll();
    EXPECT_EQ(page.RowCount(), 0);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定删除所有预埋单?");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备删除所有预埋单");
    EXPECT_EQ(harness.LastStatus(), "选中了0笔预埋单");
}

TEST_F(PagePreOrder, TheFileCarriesThePreOrdersIntoTheNextRunOfTheDay) {
    page.onRecvReqSendOver();  // no file yet
    Park(2);
    page.AddPreOrder(ParkableOrder(), {Indenture("WR00000001", 2), Indenture("WR00000002", 1), {}}, false);
    Tick({0});
    page.DeleteSelected();
    harness.timers.RunAll();
    Tick({0});
    page.SendSelected();
    harness.timers.RunAll();
    page.onChannelLost(TTRspMsg{});

    const std::string bytes = FileBytes(page.FilePath());
    ASSERT_EQ(bytes.size(), 9u + (128 + 4 + 32) + (128 + 4 + 3 * 32));
    EXPECT_EQ(bytes.substr(0, 9), std::string("20260105", 9));
    EXPECT_EQ(bytes.substr(9 + 128, 4), std::string("\x01\x00\x00\x00", 4));
    EXPECT_EQ(bytes.substr(9 + 164 + 128, 4), std::string("\x03\x00\x00\x00", 4));

    CPagePreOrder next(harness.Services(), scratch.Name());
    next.onRecvReqSendOver();
    next.onRecvReqSendOver();  // loaded once
    ASSERT_EQ(next.RowCount(), 2);
    EXPECT_EQ(next.CellText(0, 1), "00000001");
    EXPECT_EQ(next.CellText(1, 1), "00000002");
    EXPECT_EQ(next.CellText(0, 7), kFailedText);
    EXPECT_EQ(quorex::FieldText(next.Order(0).localOrderNo), "00000000000042");
    EXPECT_EQ(next.CellText(1, 7), kParkedText);
    EXPECT_EQ(next.Indentures(1).size(), 3u);
    EXPECT_TRUE(observer.shown.empty());
}

TEST_F(PagePreOrder, AFileOfAnotherDayIsLeftAlone) {
    page.onRecvReqSendOver();
    Park(1);
    ASSERT_TRUE(page.Save());
    harness.requests.tradeDate = "20260106";
    CPagePreOrder nextDay(harness.Services(), scratch.Name());
    nextDay.onRecvReqSendOver();
    EXPECT_EQ(nextDay.RowCount(), 0);
}

TEST_F(PagePreOrder, NothingIsSavedBeforeTheFileWasLoaded) {
    Park(1);
    page.onRecvReqSendOver();
    ASSERT_TRUE(page.Save());
    const std::string saved = FileBytes(page.FilePath());
    CPagePreOrder downloading(harness.Services(), scratch.Name());
    downloading.onChannelLost(TTRspMsg{});
    EXPECT_FALSE(downloading.Save());
    EXPECT_EQ(FileBytes(page.FilePath()), saved);
}

TEST_F(PagePreOrder, AFailingSaveKeepsThePreviousFile) {
    page.onRecvReqSendOver();
    Park(1);
    ASSERT_TRUE(page.Save());
    const std::string saved = FileBytes(page.FilePath());
    std::filesystem::create_directory(page.FilePath() + ".tmp");
    Park(1);
    EXPECT_FALSE(page.Save());
    EXPECT_EQ(FileBytes(page.FilePath()), saved);
}

TEST_F(PagePreOrder, ATraderIdWithPathCharactersStaysInTheDirectory) {
    for (const char* traderID : {"../x", "a/b"}) {
        harness.LogIn(traderID);
        const std::filesystem::path path = page.FilePath();
        EXPECT_EQ(path.parent_path(), scratch.Path()) << traderID;
    }
    page.onRecvReqSendOver();
    ASSERT_TRUE(page.Save());
    EXPECT_TRUE(std::filesystem::exists(scratch.Path() / "a%2FbYqPreOrder.data"));
}
