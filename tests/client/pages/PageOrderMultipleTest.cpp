// The batch panel: the price ladder and its pace, the local order numbers it hands out, the limit
// and the checks of both commands with their order and focus moves, the deposit guarantee it
// always uses, and the batch of pre-orders.
#include "client/pages/PageOrderMultiple.h"

#include <gtest/gtest.h>

#include "OrderPageTestSupport.h"
#include "client/ClientTestSupport.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/pages/PageOrder.h"
#include "client/shell/LocalOrderNumbers.h"

namespace kvt::test {
namespace {

using namespace std::chrono_literals;

class CFakeBatchView : public COrderMultipleView {
public:
    std::string priceStep, orderCount;
    std::vector<EBatchControl> focus;
    int nextControlMoves = 0;

    std::string PriceStepText() const override { return priceStep; }
    void SetPriceStepText(const std::string& text) override { priceStep = text; }
    std::string OrderCountText() const override { return orderCount; }
    void SetOrderCountText(const std::string& text) override { orderCount = text; }
    void Focus(EBatchControl control) override { focus.push_back(control); }
    void FocusNextControl() override { ++nextControlMoves; }
};

class PageOrderMultipleTest : public ::testing::Test {
protected:
    PageOrderMultipleTest() {
        harness.LogIn("00010001", "0001", "00000000000041");
        harness.Register(EPageWindow::OrderEntryPage, &page);
        page.Attach(&form);
        const TYuanQiInst instrument = Instrument("000001", "HC0801");
        const TTRspMsg rsp = Response();
        page.onRecvYuanQiInstInfo(&instrument, rsp);
        panel.Attach(&batch);
        form.Fill("HC0801", "0123", "3000", "5");
        harness.StatusTexts();
    }
    ~PageOrderMultipleTest() override {
        panel.Attach(nullptr);
        harness.Unregister(EPageWindow::OrderEntryPage);
    }

    void Ladder(const char* step, const char* count) {
        batch.priceStep = step;
        batch.orderCount = count;
    }
    void AnswerOrder(const char* code, const char* localOrderNo) {
        TYqOrder echo{};
        quorex::SetText(echo.localOrderNo, localOrderNo);
        const TTRspMsg rsp = Response(code);
        page.onRecvRspYqOrder(&echo, rsp);
    }
    const std::vector<CRecordedRequests::COrder>& Orders() { return harness.requests.orders; }
    std::int64_t SentNumber() { return CLocalOrderNumbers(harness.api.LoginState()).Sent(); }

    CClientHarness harness;
    CRecordedPreOrders preOrders;
    CPageIndentureSelect select{harness.Services()};
    CPageOrder page{harness.Services(), select, nullptr, &preOrders};
    CFakeOrderForm form;
    CPageOrderMultiple panel{harness.Services(), page, &preOrders};
    CFakeBatchView batch;
};

TEST_F(PageOrderMultipleTest, TheLadderGoesOutOneOrderEvery100MillisecondsNumberedFromTheBase) {
    form.kind = EOrderKind::SellOffset;
    Ladder("-10", "3");
    panel.OnPlaceOrders();
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定要批量下单？");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备批量下单");
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"准备批量下单....."});

    // The first at once; what the trader types meanwhile changes nothing of the ladder.
    ASSERT_EQ(Orders().size(), 1u);
    EXPECT_TRUE(panel.IsSending());
    form.Fill("HC0801", "0123", "1", "1");
    Ladder("99", "9");
    harness.timers.Advance(99ms);
    EXPECT_EQ(Orders().size(), 1u);
    harness.timers.Advance(1ms);
    EXPECT_EQ(Orders().size(), 2u);
    harness.timers.Advance(100ms);
    ASSERT_EQ(Orders().size(), 3u);
    harness.timers.RunAll();
    EXPECT_EQ(Orders().size(), 3u);
    EXPECT_FALSE(panel.IsSending());

    const double prices[] = {3000, 2990, 2980};
    const char* numbers[] = {"00000000000042", "00000000000043", "00000000000044"};
    for (std::size_t i = 0; i < 3; ++i) {
        SCOPED_TRACE(i);
        const TYqOrder& order = Orders()[i].order;
        EXPECT_EQ(order.price, prices[i]);
        EXPECT_STREQ(order.localOrderNo, numbers[i]);
        EXPECT_STREQ(order.clientID, "00010123");
        EXPECT_STREQ(order.instID, "000001");
        EXPECT_EQ(order.amount, 5);
        EXPECT_EQ(order.buyOrSell, 's');
        EXPECT_EQ(order.offSetFlag, '1');
        EXPECT_EQ(order.pledgeFlag, '1');
        ASSERT_EQ(Orders()[i].indentures.size(), 1u);
        EXPECT_EQ(Orders()[i].indentures[0].indentNo[0], '\0');
    }
    EXPECT_EQ(SentNumber(), 44);
    EXPECT_EQ(form.amount, "1");  // the amount box keeps what it holds
    EXPECT_TRUE(harness.StatusTexts().empty());
}

TEST_F(PageOrderMultipleTest, TheCountIsCheckedAfterTheConfirmation) {
    struct CCase {
        const char* count;
        const char* text;
    };
    const CCase cases[] = {{"21", "同时发送的报单数量不能超过20笔....."}, {"0", "报单数量不能小于1"}};
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.count);
        harness.prompter.boxes.clear();
        Ladder("10", c.count);
        panel.OnPlaceOrders();
        EXPECT_EQ(harness.prompter.boxes.size(), 1u);
        EXPECT_EQ(harness.StatusTexts(), (std::vector<std::string>{"准备批量下单.....", c.text}));
    }
    harness.timers.RunAll();
    EXPECT_TRUE(Orders().empty());

    Ladder("10", "20");
    panel.OnPlaceOrders();
    harness.timers.RunAll();
    ASSERT_EQ(Orders().size(), 20u);
    EXPECT_EQ(Orders().back().order.price, 3190.0);
}

TEST_F(PageOrderMultipleTest, ADeclinedConfirmationSendsNothing) {
    Ladder("10", "3");
    harness.prompter.answers = {false, false};
    panel.OnPlaceOrders();
    EXPECT_EQ(harness.StatusTexts(), (std::vector<std::string>{"准备批量下单.....", "取消批量下单....."}));
    panel.OnPreOrders();
    EXPECT_EQ(harness.StatusTexts(), (std::vector<std::string>{"准备批量预埋报单.....", "取消批量预埋报单....."}));
    harness.timers.RunAll();
    EXPECT_TRUE(Orders().empty());
    EXPECT_TRUE(preOrders.added.empty());
    EXPECT_EQ(form.amount, "5");
}

// Both commands check the form first, then their own boxes; no box opens for a refusal.
TEST_F(PageOrderMultipleTest, ChecksRunInOrderAndMoveTheFocusToTheFieldAtFault) {
    struct CCase {
        const char *instrument, *code, *price, *amount, *step, *count, *text;
        EOrderControl formFocus;
        EBatchControl batchFocus;
    };
    constexpr auto kNoForm = EOrderControl::Other;
    constexpr auto kNoBatch = EBatchControl::Other;
    const CCase cases[] = {
        {"HC9999", "0123", "3000", "5", "", "", "请先选择商品代码!", EOrderControl::Instrument, kNoBatch},
        {"HC0801", "", "3000", "5", "", "", "请先输入交易代码!", EOrderControl::TradingCode, kNoBatch},
        {"HC0801", "0123", "0", "", "", "", "请先输入价格!", EOrderControl::Price, kNoBatch},
        {"HC0801", "0123", "3000", "", "", "", "请先输入数量!", EOrderControl::Amount, kNoBatch},
        {"HC0801", "0123", "3000", "5", "", "", "请输入价格幅度!", kNoForm, EBatchControl::PriceStep},
        {"HC0801", "0123", "3000", "5", "10", "", "请输入委托数量!", kNoForm, EBatchControl::OrderCount},
    };
    for (const bool preOrder : {false, true}) {
        for (const CCase& c : cases) {
            SCOPED_TRACE(std::string(c.text) + (preOrder ? " pre-order" : " order"));
            form.Fill(c.instrument, c.code, c.price, c.amount);
            form.focus.clear();
            batch.focus.clear();
            Ladder(c.step, c.count);
            preOrder ? panel.OnPreOrders() : panel.OnPlaceOrders();
            EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{c.text});
            EXPECT_EQ(form.LastFocus(), c.formFocus);
            EXPECT_EQ(batch.focus, c.batchFocus == kNoBatch ? std::vector<EBatchControl>{}
                                                            : std::vector<EBatchControl>{c.batchFocus});
        }
    }
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_TRUE(Orders().empty());
    EXPECT_TRUE(preOrders.added.empty());
}

TEST_F(PageOrderMultipleTest, PreOrdersRefuseAMinusAfterTheFirstCharacterAndAZeroCountBeforeTheBox) {
    Ladder("5-", "3");
    panel.OnPreOrders();
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"请输入正确的价格幅度!"});
    EXPECT_EQ(batch.focus, std::vector<EBatchControl>{EBatchControl::PriceStep});
    Ladder("10", "0");
    panel.OnPreOrders();
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"报单数量不能小于1"});
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_TRUE(preOrders.added.empty());

    // The batch order reads the same step as the number before the minus.
    Ladder("5-", "2");
    panel.OnPlaceOrders();
    harness.timers.RunAll();
    ASSERT_EQ(Orders().size(), 2u);
    EXPECT_EQ(Orders()[0].order.price, 3000.0);
    EXPECT_EQ(Orders()[1].order.price, 3005.0);
}

TEST_F(PageOrderMultipleTest, ChosenIndenturesOnTheFormStillGiveADeposit) {
    form.kind = EOrderKind::SellOpen;
    page.OnOrderKindClicked();
    form.guarantee = EGuarantee::Indenture;
    page.OnGuaranteeClicked();
    page.OnChooseIndentures();
    const TElctIndenture indenture = Indenture("IND0000001", 7);
    const TTRspMsg rsp = Response();
    select.onRecvRspQryYqInstElctIndent(&indenture, rsp);
    select.OnCheckClicked(0, true);
    select.OnConfirm();
    harness.bridge.Deliver();
    ASSERT_EQ(select.Selection().size(), 1u);
    ASSERT_EQ(page.BuildOrderRecord().pledgeFlag, '2');

    Ladder("10", "2");
    panel.OnPlaceOrders();
    panel.OnPreOrders();
    harness.timers.RunAll();
    ASSERT_EQ(Orders().size(), 2u);
    ASSERT_EQ(preOrders.added.size(), 2u);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(Orders()[i].order.pledgeFlag, '1');
        ASSERT_EQ(Orders()[i].indentures.size(), 1u);
        EXPECT_EQ(Orders()[i].indentures[0].indentNo[0], '\0');
        EXPECT_EQ(preOrders.added[i].order.pledgeFlag, '1');
        ASSERT_EQ(preOrders.added[i].indentures.size(), 1u);
        EXPECT_EQ(preOrders.added[i].indentures[0].indentNo[0], '\0');
    }
}

TEST_F(PageOrderMultipleTest, TheBaseIsTheLargerOfTheAcknowledgedAndTheSentNumber) {
    // A single order, 42, still unanswered: the batch must not number from 41 again.
    page.OnPlaceOrder();
    ASSERT_EQ(SentNumber(), 42);
    Ladder("0", "2");
    panel.OnPlaceOrders();
    harness.timers.RunAll();
    ASSERT_EQ(Orders().size(), 3u);
    EXPECT_STREQ(Orders()[1].order.localOrderNo, "00000000000043");
    EXPECT_STREQ(Orders()[2].order.localOrderNo, "00000000000044");

    // All answered: the next batch goes on from the acknowledged number.
    AnswerOrder("RSP000000", "00000000000042");
    AnswerOrder("RSP000000", "00000000000043");
    AnswerOrder("RSP000000", "00000000000044");
    form.amount = "5";  // an accepted answer empties it
    panel.OnPlaceOrders();
    harness.timers.RunAll();
    ASSERT_EQ(Orders().size(), 5u);
    EXPECT_STREQ(Orders()[3].order.localOrderNo, "00000000000045");
}

TEST_F(PageOrderMultipleTest, ALibraryRefusalLeavesTheSentNumberAndTheLadderGoesOn) {
    Ladder("10", "3");
    panel.OnPlaceOrders();
    EXPECT_EQ(SentNumber(), 42);
    harness.requests.result = -1;
    harness.timers.Advance(100ms);
    EXPECT_EQ(SentNumber(), 42);
    harness.requests.result = 0;
    harness.timers.Advance(100ms);
    ASSERT_EQ(Orders().size(), 3u);
    EXPECT_STREQ(Orders()[2].order.localOrderNo, "00000000000044");
    EXPECT_EQ(Orders()[2].order.price, 3020.0);
    EXPECT_EQ(SentNumber(), 44);
}

TEST_F(PageOrderMultipleTest, NumbersGivenOutAreNotReusedAfterARefusedAnswerOrByABatchQueuedBehind) {
    Ladder("10", "3");
    panel.OnPlaceOrders();
    // Given while the first is still being sent: it waits behind it and numbers on from 44.
    Ladder("10", "2");
    panel.OnPlaceOrders();
    harness.timers.RunAll();
    ASSERT_EQ(Orders().size(), 5u);
    EXPECT_STREQ(Orders()[3].order.localOrderNo, "00000000000045");
    EXPECT_STREQ(Orders()[4].order.localOrderNo, "00000000000046");
    EXPECT_EQ(Orders()[3].order.price, 3000.0);

    // 43 refused rolls the sent number back to 42 while 44 to 46 are still unanswered.
    AnswerOrder("RSP000000", "00000000000042");
    AnswerOrder("ERR000001", "00000000000043");
    ASSERT_EQ(SentNumber(), 42);
    form.amount = "5";
    Ladder("10", "1");
    panel.OnPlaceOrders();
    ASSERT_EQ(Orders().size(), 6u);
    EXPECT_STREQ(Orders()[5].order.localOrderNo, "00000000000047");
}

TEST_F(PageOrderMultipleTest, OrdersNotYetSentGoWithThePanel) {
    {
        CPageOrderMultiple shortLived(harness.Services(), page, &preOrders);
        CFakeBatchView view;
        shortLived.Attach(&view);
        view.priceStep = "10";
        view.orderCount = "5";
        shortLived.OnPlaceOrders();
        harness.timers.Advance(100ms);
        shortLived.Attach(nullptr);
    }
    harness.timers.RunAll();
    EXPECT_EQ(Orders().size(), 2u);
}

TEST_F(PageOrderMultipleTest, ABatchOfPreOrdersAddsTheLadderAtOnceAndEmptiesTheAmount) {
    form.kind = EOrderKind::BuyOffset;
    Ladder("-10", "25");  // no limit for pre-orders
    panel.OnPreOrders();
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定要批量预埋报单？");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备批量预埋报单");
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"准备批量预埋报单....."});
    ASSERT_EQ(preOrders.added.size(), 25u);
    for (std::size_t i = 0; i < preOrders.added.size(); ++i) {
        SCOPED_TRACE(i);
        const auto& added = preOrders.added[i];
        EXPECT_EQ(added.order.price, 3000.0 - 10.0 * static_cast<double>(i));
        EXPECT_EQ(added.order.amount, 5);
        EXPECT_EQ(added.order.buyOrSell, 'b');
        EXPECT_EQ(added.order.offSetFlag, '1');
        EXPECT_EQ(added.order.localOrderNo[0], '\0');
        EXPECT_TRUE(added.bringIntoView);
        ASSERT_EQ(added.indentures.size(), 1u);
    }
    EXPECT_EQ(form.amount, "");
    EXPECT_TRUE(Orders().empty());
    EXPECT_EQ(harness.timers.PendingCount(), 0u);
}

TEST_F(PageOrderMultipleTest, EnterRunsTheButtonsAndMovesOnElsewhere) {
    panel.OnEnter(EBatchControl::PriceStep);
    panel.OnEnter(EBatchControl::OrderCount);
    EXPECT_EQ(batch.nextControlMoves, 2);
    Ladder("10", "1");
    panel.OnEnter(EBatchControl::Place);
    EXPECT_EQ(Orders().size(), 1u);
    panel.OnEnter(EBatchControl::PreOrder);
    EXPECT_EQ(preOrders.added.size(), 1u);
    EXPECT_EQ(batch.nextControlMoves, 2);
}

TEST_F(PageOrderMultipleTest, WithoutAPreOrderListThePreOrderCommandDoesNothing) {
    CPageOrderMultiple alone(harness.Services(), page, nullptr);
    CFakeBatchView view;
    alone.Attach(&view);
    view.priceStep = "10";
    view.orderCount = "2";
    alone.OnPreOrders();
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_EQ(form.amount, "5");
    alone.Attach(nullptr);
}

}  // namespace
}  // namespace kvt::test
