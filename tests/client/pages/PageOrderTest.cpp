// The order entry page: checks and their focus moves, the one unanswered order, the records and
// indenture lists it sends, the radio rules, the panels, order answers and updates, and prefills.
#include "client/pages/PageOrder.h"

#include <gtest/gtest.h>

#include "client/ClientTestSupport.h"
#include "OrderPageTestSupport.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/shell/LocalOrderNumbers.h"

namespace kvt::test {
namespace {

class PageOrderTest : public ::testing::Test {
protected:
    PageOrderTest() {
        harness.LogIn("00010001", "0001", "00000000000041");
        harness.Register(EPageWindow::OrderEntryPage, &page);
        harness.Register(EPageWindow::PositionPage, &positionsPage);
        page.Attach(&form);
        Announce(Instrument("000001", "HC0801"));
        Announce(Instrument("000002", "HC0803"));
    }
    ~PageOrderTest() override {
        harness.Unregister(EPageWindow::OrderEntryPage);
        harness.Unregister(EPageWindow::PositionPage);
    }

    void Announce(const TYuanQiInst& instrument, const char* code = "RSP000000") {
        const TTRspMsg rsp = Response(code);
        page.onRecvYuanQiInstInfo(&instrument, rsp);
    }

    void AnswerOrder(const char* code, const char* localOrderNo) {
        TYqOrder echo{};
        quorex::SetText(echo.localOrderNo, localOrderNo);
        const TTRspMsg rsp = Response(code, "answer");
        page.onRecvRspYqOrder(&echo, rsp);
    }
    // A sell contract with electronic indentures, and the dialog's choice of them confirmed.
    void ChooseIndentures(std::initializer_list<TElctIndenture> indentures) {
        form.Fill("HC0801", "0123", "3000", "");
        form.kind = EOrderKind::SellOpen;
        page.OnOrderKindClicked();
        form.guarantee = EGuarantee::Indenture;
        page.OnGuaranteeClicked();
        page.OnChooseIndentures();
        int row = 0;
        for (const TElctIndenture& indenture : indentures) {
            const TTRspMsg rsp = Response();
            select.onRecvRspQryYqInstElctIndent(&indenture, rsp);
            select.OnCheckClicked(row++, true);
        }
        select.OnConfirm();
        harness.bridge.Deliver();
    }
    const std::vector<CRecordedRequests::COrder>& Orders() { return harness.requests.orders; }

    CClientHarness harness;
    CStoredQuotations quotations;
    CRecordedPreOrders preOrders;
    CPageIndentureSelect select{harness.Services()};
    CPageOrder page{harness.Services(), select, &quotations, &preOrders};
    CFakeOrderForm form;
    std::vector<Delivery> positionsJournal;
    JournalWindow positionsPage{EPageWindow::PositionPage, positionsJournal};
};

TEST_F(PageOrderTest, ChecksRunInTableOrderAndMoveTheFocusToTheFieldAtFault) {
    struct CCase {
        const char *instrument, *code, *price, *amount, *text;
        EOrderControl focus;
    };
    const CCase cases[] = {
        {"HC9999", "0123", "3000", "5", "请先输入正确的商品代码!", EOrderControl::Instrument},
        {"", "", "", "", "请先输入正确的商品代码!", EOrderControl::Instrument},
        {"HC0801", "", "3000", "5", "请先输入交易代码!", EOrderControl::TradingCode},
        {"HC0801", "0123", "", "", "请先输入价格!", EOrderControl::Price},
        {"HC0801", "0123", "0", "", "请先输入价格!", EOrderControl::Price},
        {"HC0801", "0123", "3000", "", "请先输入数量!", EOrderControl::Amount},
        {"HC0801", "0123", "3000", "0", "请先输入数量!", EOrderControl::Amount},
    };
    harness.StatusTexts();
    for (const CCase& c : cases) {
        SCOPED_TRACE(c.text);
        form.Fill(c.instrument, c.code, c.price, c.amount);
        page.OnPlaceOrder();
        EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{c.text});
        EXPECT_EQ(form.LastFocus(), c.focus);
    }
    EXPECT_TRUE(harness.prompter.boxes.empty());
    EXPECT_TRUE(Orders().empty());
}

TEST_F(PageOrderTest, IndentureGuaranteeWithoutChosenIndenturesPointsAtTheChooseButton) {
    form.Fill("HC0801", "0123", "3000", "0");
    form.kind = EOrderKind::SellOpen;
    form.guarantee = EGuarantee::Indenture;
    harness.StatusTexts();
    page.OnPlaceOrder();
    EXPECT_EQ(harness.LastStatus(), "请先输入数量!");
    form.amount = "5";
    page.OnPlaceOrder();
    EXPECT_EQ(harness.LastStatus(), "请先选择电子货单!");
    EXPECT_EQ(form.LastFocus(), EOrderControl::ChooseIndentures);
    EXPECT_TRUE(Orders().empty());
}

TEST_F(PageOrderTest, AConfirmedDepositOrderCarriesTheFormAndTheNextLocalOrderNumber) {
    form.Fill("HC0801", "0123", "3005", "12");
    form.kind = EOrderKind::SellOffset;
    harness.StatusTexts();
    page.OnPlaceOrder();
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定发送报单?");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备发送报单");
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"准备发送报单....."});
    ASSERT_EQ(Orders().size(), 1u);
    const TYqOrder& order = Orders()[0].order;
    EXPECT_STREQ(order.localOrderNo, "00000000000042");
    EXPECT_STREQ(order.traderID, "00010001");
    EXPECT_STREQ(order.memberID, "0001");
    EXPECT_STREQ(order.clientID, "00010123");
    EXPECT_STREQ(order.instID, "000001");
    EXPECT_EQ(order.price, 3005.0);
    EXPECT_EQ(order.amount, 12);
    EXPECT_EQ(order.buyOrSell, 's');
    EXPECT_EQ(order.offSetFlag, '1');
    EXPECT_EQ(order.pledgeFlag, '1');
    EXPECT_EQ(order.orderNo[0], '\0');
    EXPECT_EQ(order.accountType, '\0');
    EXPECT_EQ(order.status, '\0');
    // A deposit order passes exactly one empty entry.
    ASSERT_EQ(Orders()[0].indentures.size(), 1u);
    EXPECT_EQ(Orders()[0].indentures[0].indentNo[0], '\0');
    EXPECT_EQ(Orders()[0].indentures[0].frznAmount, 0);
    EXPECT_TRUE(CLocalOrderNumbers(harness.api.LoginState()).IsOrderInFlight());
}

TEST_F(PageOrderTest, EachOrderKindMapsToItsCodes) {
    const std::pair<EOrderKind, const char*> kinds[] = {
        {EOrderKind::BuyOpen, "b0"}, {EOrderKind::SellOpen, "s0"}, {EOrderKind::SellOffset, "s1"}, {EOrderKind::BuyOffset, "b1"}};
    for (const auto& [kind, codes] : kinds) {
        form.Fill("HC0803", "0123", "3000", "1");
        form.kind = kind;
        page.OnPlaceOrder();
        ASSERT_FALSE(Orders().empty());
        EXPECT_EQ(Orders().back().order.buyOrSell, codes[0]);
        EXPECT_EQ(Orders().back().order.offSetFlag, codes[1]);
        AnswerOrder("ERR000001", "");  // lets the next one go
    }
    EXPECT_EQ(Orders().size(), 4u);
}

TEST_F(PageOrderTest, DeclinedConfirmationSendsNothing) {
    form.Fill("HC0801", "0123", "3000", "5");
    harness.prompter.answers = {false};
    harness.StatusTexts();
    page.OnPlaceOrder();
    EXPECT_EQ(harness.StatusTexts(), (std::vector<std::string>{"准备发送报单.....", "取消报单发送....."}));
    EXPECT_TRUE(Orders().empty());
    EXPECT_FALSE(CLocalOrderNumbers(harness.api.LoginState()).IsOrderInFlight());
}

TEST_F(PageOrderTest, OneUnansweredOrderAtATimeAndAFailedAnswerReleasesIt) {
    form.Fill("HC0801", "0123", "3000", "5");
    page.OnPlaceOrder();
    harness.StatusTexts();
    page.OnPlaceOrder();
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"还没收到上次报单响应，请稍候再试!"});
    EXPECT_EQ(Orders().size(), 1u);
    EXPECT_EQ(harness.prompter.boxes.size(), 1u);

    AnswerOrder("ERR000001", "00000000000042");
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"answer"});
    EXPECT_EQ(form.LastFocus(), EOrderControl::Instrument);
    EXPECT_EQ(form.amount, "5");  // kept after a refusal
    page.OnPlaceOrder();
    ASSERT_EQ(Orders().size(), 2u);
    EXPECT_STREQ(Orders()[1].order.localOrderNo, "00000000000042");
}

TEST_F(PageOrderTest, AnAcceptedAnswerAdvancesTheNumberAndEmptiesTheAmount) {
    form.Fill("HC0801", "0123", "3000", "5");
    page.OnPlaceOrder();
    AnswerOrder("RSP000000", "00000000000042");
    EXPECT_EQ(form.amount, "");
    page.OnPlaceOrder();
    EXPECT_EQ(harness.LastStatus(), "请先输入数量!");
    form.amount = "6";
    page.OnPlaceOrder();
    ASSERT_EQ(Orders().size(), 2u);
    EXPECT_STREQ(Orders()[1].order.localOrderNo, "00000000000043");
}

TEST_F(PageOrderTest, AcceptedAnswerWithoutTheEchoedOrderStillEndsTheWait) {
    form.Fill("HC0801", "0123", "3000", "5");
    page.OnPlaceOrder();
    const TTRspMsg rsp = Response();
    page.onRecvRspYqOrder(nullptr, rsp);
    EXPECT_FALSE(CLocalOrderNumbers(harness.api.LoginState()).IsOrderInFlight());
    page.onRecvRspYqOrder(nullptr, TTRspMsg{});  // neither record nor response: nothing to read
    page.OnPlaceOrder();
    EXPECT_EQ(Orders().size(), 2u);
}

TEST_F(PageOrderTest, AnOrderTheLibraryRefusesDoesNotBlockTheNext) {
    form.Fill("HC0801", "0123", "3000", "5");
    harness.requests.result = -1;
    page.OnPlaceOrder();
    EXPECT_FALSE(CLocalOrderNumbers(harness.api.LoginState()).IsOrderInFlight());
    harness.requests.result = 0;
    page.OnPlaceOrder();
    ASSERT_EQ(Orders().size(), 2u);
    EXPECT_STREQ(Orders()[1].order.localOrderNo, "00000000000042");
}

TEST_F(PageOrderTest, ChosenIndenturesGoWithTheOrderAndTheirSumIsTheAmount) {
    ChooseIndentures({Indenture("IND0000001", 7), Indenture("IND0000002", 3)});
    EXPECT_EQ(form.amount, "10");
    page.OnPlaceOrder();
    ASSERT_EQ(Orders().size(), 1u);
    EXPECT_EQ(Orders()[0].order.pledgeFlag, '2');
    EXPECT_EQ(Orders()[0].order.amount, 10);
    const auto& list = Orders()[0].indentures;
    ASSERT_EQ(list.size(), 3u);
    EXPECT_STREQ(list[0].indentNo, "IND0000001");
    EXPECT_EQ(list[0].frznAmount, 7);
    EXPECT_STREQ(list[1].indentNo, "IND0000002");
    EXPECT_EQ(list[1].frznAmount, 3);
    EXPECT_EQ(list[2].indentNo[0], '\0');
    EXPECT_EQ(list[2].orderNo[0], '\0');

    // Accepted: the selection is gone and the amount says so.
    AnswerOrder("RSP000000", "00000000000042");
    EXPECT_EQ(form.amount, "0");
    EXPECT_TRUE(select.Selection().empty());
}

TEST_F(PageOrderTest, RadioRules) {
    // As the page opens: 买入新订 and 定金, no indenture controls.
    EXPECT_EQ(form.kind, EOrderKind::BuyOpen);
    EXPECT_EQ(form.guarantee, EGuarantee::Deposit);
    EXPECT_FALSE(form.indentureRadioVisible);
    EXPECT_FALSE(form.chooseVisible);
    EXPECT_FALSE(form.preOrderVisible);
    EXPECT_FALSE(form.batchVisible);
    EXPECT_EQ(form.amountLabel, "数量");

    form.kind = EOrderKind::SellOpen;
    page.OnOrderKindClicked();
    EXPECT_TRUE(form.indentureRadioVisible);
    form.guarantee = EGuarantee::Indenture;
    page.OnGuaranteeClicked();
    EXPECT_FALSE(form.amountEnabled);
    EXPECT_TRUE(form.chooseVisible);

    form.kind = EOrderKind::BuyOpen;
    page.OnOrderKindClicked();
    EXPECT_EQ(form.guarantee, EGuarantee::Deposit);
    EXPECT_TRUE(form.amountEnabled);
    EXPECT_FALSE(form.indentureRadioVisible);
    EXPECT_FALSE(form.chooseVisible);

    form.kind = EOrderKind::BuyOffset;
    page.OnOrderKindClicked();
    form.guarantee = EGuarantee::Indenture;
    page.OnGuaranteeClicked();
    form.guarantee = EGuarantee::Deposit;
    page.OnGuaranteeClicked();
    EXPECT_TRUE(form.amountEnabled);
    EXPECT_FALSE(form.chooseVisible);
    EXPECT_TRUE(form.indentureRadioVisible);
}

TEST_F(PageOrderTest, EnterWalksTheFormAndRunsTheButtons) {
    page.OnEnter(EOrderControl::SellOffset);
    EXPECT_EQ(form.LastFocus(), EOrderControl::Deposit);
    EXPECT_EQ(page.ToggleBatchMode(), "单笔模式");
    EXPECT_TRUE(form.batchVisible);
    EXPECT_EQ(form.amountLabel, "单笔数量");
    page.OnEnter(EOrderControl::BuyOpen);
    EXPECT_EQ(form.LastFocus(), EOrderControl::BatchPriceStep);
    EXPECT_EQ(page.ToggleBatchMode(), "批量模式");
    EXPECT_FALSE(form.batchVisible);
    EXPECT_EQ(form.amountLabel, "数量");

    page.OnEnter(EOrderControl::Price);
    page.OnEnter(EOrderControl::ChooseIndentures);
    EXPECT_EQ(form.nextControlMoves, 2);

    form.Fill("HC0801", "0123", "3000", "5");
    page.OnEnter(EOrderControl::Place);
    EXPECT_EQ(Orders().size(), 1u);
    page.SetPreOrderVisible(true);
    EXPECT_TRUE(form.preOrderVisible);
    page.OnEnter(EOrderControl::PreOrder);
    EXPECT_EQ(preOrders.added.size(), 1u);
}

TEST_F(PageOrderTest, InstrumentsAreListedSortedOnceAndLentToTheApi) {
    Announce(Instrument("000003", "AB0801"));
    Announce(Instrument("000001", "HC0801"));      // announced again
    Announce(Instrument("000004", "ZZ0801"), "ERR000001");  // refused
    EXPECT_EQ(form.items, (std::vector<std::string>{"AB0801", "HC0801", "HC0803"}));
    EXPECT_EQ(form.memberLabel, "0001");
    EXPECT_EQ(harness.api.YqInstIDOf("000003"), "AB0801");
    EXPECT_EQ(harness.api.YqInstIDOf("000004"), "");

    // A form attached later gets the list as it is.
    CFakeOrderForm later;
    page.Attach(&later);
    EXPECT_EQ(later.items, form.items);
    EXPECT_EQ(later.memberLabel, "0001");
}

// An instrument announced under a new code replaces its old name in the box, once, and is found
// by the new one only.
TEST_F(PageOrderTest, ARenamedInstrumentIsListedUnderItsNewNameOnly) {
    for (int announcement = 0; announcement < 2; ++announcement) Announce(Instrument("000001", "AG0002"));
    EXPECT_EQ(form.items, (std::vector<std::string>{"AG0002", "HC0803"}));
    EXPECT_EQ(harness.api.YqInstIDOf("000001"), "AG0002");
    EXPECT_EQ(harness.api.InstrumentTable()->Size(), 2u);
}

TEST_F(PageOrderTest, TheInstrumentTableGoesWithThePage) {
    {
        CPageIndentureSelect otherSelect{harness.Services()};
        CPageOrder other{harness.Services(), otherSelect, nullptr, nullptr};
        EXPECT_EQ(harness.api.InstrumentTable(), &other.Instruments().Table());
    }
    EXPECT_EQ(harness.api.InstrumentTable(), nullptr);
}

TEST_F(PageOrderTest, InstrumentChangeQueriesThePositionAndShowsTheStoredQuote) {
    TYqQuotation quotation = Quotation("000001", 0, 2990);
    quotation.bid1 = 2985;
    quotation.bidLot1 = 7;
    quotation.ask3 = 25.4;
    quotation.askLot3 = 123456;
    quotation.upperPrice = 3100.4;
    quotation.lowerPrice = 2800.6;
    quotations.quotations["000001"] = quotation;
    TMemberCapital capital{};
    capital.todayBalance = 100000.4;
    capital.availCredit = 5000.5;
    page.onRecvRspQryMemberCapital(&capital, Response());
    EXPECT_EQ(form.available, "100000");
    EXPECT_EQ(form.credit, "5000");  // "%.0f" rounds half to even

    form.instrument = "HC0801";
    page.OnInstrumentSelected();
    ASSERT_EQ(harness.requests.memberPosiQueries.size(), 1u);
    EXPECT_STREQ(harness.requests.memberPosiQueries[0].memberID, "0001");
    EXPECT_STREQ(harness.requests.memberPosiQueries[0].traderID, "00010001");
    EXPECT_STREQ(harness.requests.memberPosiQueries[0].instID, "000001");
    EXPECT_EQ(form.quote.bidPrices[0], "2985");
    EXPECT_EQ(form.quote.bidLots[0], "    7");
    EXPECT_EQ(form.quote.askPrices[2], "  25");
    EXPECT_EQ(form.quote.askLots[2], "123456");
    EXPECT_EQ(form.quote.current, "2990");  // no trade yet: the last average
    EXPECT_EQ(form.quote.upper, "3100");
    EXPECT_EQ(form.quote.lower, "2801");
    EXPECT_EQ(form.affordableLots, "33*rate");

    // Another instrument without a stored quotation empties the panel.
    form.instrument = "HC0803";
    page.OnInstrumentSelected();
    EXPECT_EQ(form.quote.current, "");
    EXPECT_EQ(form.affordableLots, "");

    // Typing: a partial text does nothing, an exact one selects and changes.
    form.instrument = "HC08";
    page.OnInstrumentEdited();
    EXPECT_EQ(harness.requests.memberPosiQueries.size(), 2u);
    form.instrument = "HC0801";
    page.OnInstrumentEdited();
    EXPECT_EQ(harness.requests.memberPosiQueries.size(), 3u);
}

TEST_F(PageOrderTest, QuotationsOfTheCurrentInstrumentOnlyRefreshTheQuotePanel) {
    form.instrument = "HC0801";
    TYqQuotation other = Quotation("000002", 3000, 0);
    page.onRecvYqQuotation(&other, TTRspMsg{});
    EXPECT_EQ(form.quote.current, "");
    TYqQuotation mine = Quotation("000001", 3010, 2990);
    page.onRecvYqQuotation(&mine, TTRspMsg{});  // not code checked
    EXPECT_EQ(form.quote.current, "3010");
    EXPECT_EQ(form.affordableLots, "0*rate");  // no capital shown yet
}

TEST_F(PageOrderTest, AffordableLotsSurviveAZeroPriceAndHugeCapital) {
    form.instrument = "HC0801";
    TMemberCapital capital{};
    capital.todayBalance = 1e15;
    page.onRecvRspQryMemberCapital(&capital, Response());
    TYqQuotation free = Quotation("000001", 0, 0);
    page.onRecvYqQuotation(&free, TTRspMsg{});
    EXPECT_EQ(form.affordableLots, "0*rate");
    TYqQuotation cheap = Quotation("000001", 1, 0);
    page.onRecvYqQuotation(&cheap, TTRspMsg{});
    EXPECT_EQ(form.affordableLots, "2147483647*rate");
}

TEST_F(PageOrderTest, PositionPanelShowsTheMembersOwnAccountInTheCurrentInstrument) {
    form.instrument = "HC0801";
    TYqMemberPosi position{};
    quorex::SetText(position.instID, "000001");
    position.accountType = '0';
    position.longPosi = 8;
    position.manualLongFrozen = 2;
    position.longTurnOver = 30001;
    position.shortPosi = 0;
    page.onRecvRspQryYqMemberPosi(&position, Response());
    EXPECT_EQ(form.position.longAmount, "10");
    EXPECT_EQ(form.position.longAverage, "3000.10");
    EXPECT_EQ(form.position.shortAmount, "0");
    EXPECT_EQ(form.position.shortAverage, "0");

    TYqMemberPosi agency = position;
    agency.accountType = '1';
    agency.longPosi = 99;
    page.onRecvRspQryYqMemberPosi(&agency, Response());
    TYqMemberPosi elsewhere = position;
    quorex::SetText(elsewhere.instID, "000002");
    elsewhere.longPosi = 99;
    page.onRecvRspQryYqMemberPosi(&elsewhere, Response());
    page.onRecvRspQryYqMemberPosi(nullptr, Response("ERR000001"));
    EXPECT_EQ(form.position.longAmount, "10");

    page.onRecvRspQryYqMemberPosi(nullptr, Response());
    EXPECT_EQ(form.position.longAmount, "0");
    EXPECT_EQ(form.position.longAverage, "0");
}

TEST_F(PageOrderTest, RefusedCapitalIsIgnored) {
    TMemberCapital capital{};
    capital.todayBalance = 5;
    page.onRecvRspQryMemberCapital(&capital, Response("ERR000001"));
    EXPECT_EQ(form.available, "");
}

TEST_F(PageOrderTest, AnOrderUpdateRequeriesAndRefreshesThePositionsPage) {
    page.onRecvReqSendOver();
    TYqOrder update{};
    quorex::SetText(update.orderNo, "20260105000123");
    page.onRecvRtnYqOrder(&update, Response("ERR000001"));
    EXPECT_TRUE(harness.requests.calls.empty());

    harness.StatusTexts();
    page.onRecvRtnYqOrder(&update, Response());
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"收到20260105000123报单更新信息!"});
    ASSERT_EQ(harness.requests.capitalQueries.size(), 1u);
    EXPECT_STREQ(harness.requests.capitalQueries[0].memberID, "0001");
    EXPECT_EQ(harness.requests.capitalQueries[0].accountType, '0');
    EXPECT_TRUE(harness.requests.memberPosiQueries.empty());  // no current instrument
    ASSERT_EQ(positionsJournal.size(), 1u);
    EXPECT_EQ(positionsJournal[0].what, "message " + std::to_string(WM_PAGE_REFRESH));

    form.instrument = "HC0803";
    page.onRecvRtnYqOrder(&update, Response());
    EXPECT_EQ(harness.requests.calls,
              (std::vector<std::string>{"ReqQryMemberCapital", "ReqQryMemberCapital", "ReqQryYqMemberPosi"}));
    EXPECT_STREQ(harness.requests.memberPosiQueries[0].instID, "000002");
    EXPECT_EQ(positionsJournal.size(), 2u);
}

TEST_F(PageOrderTest, TheDownloadsOrderUpdatesQueryOnceWhenItEnds) {
    TYqOrder update{};
    quorex::SetText(update.orderNo, "20260105000123");
    form.instrument = "HC0803";
    for (int i = 0; i < 50; ++i) page.onRecvRtnYqOrder(&update, Response());
    EXPECT_TRUE(harness.requests.calls.empty());
    EXPECT_TRUE(positionsJournal.empty());
    EXPECT_EQ(harness.StatusTexts().size(), 50u);
    page.onRecvReqSendOver();
    EXPECT_EQ(harness.requests.calls, (std::vector<std::string>{"ReqQryMemberCapital", "ReqQryYqMemberPosi"}));
    EXPECT_EQ(positionsJournal.size(), 1u);
    page.onRecvRtnYqOrder(&update, Response());
    EXPECT_EQ(harness.requests.calls.size(), 4u);
}

TEST_F(PageOrderTest, ChangingTheInstrumentDropsTheChosenIndentures) {
    ChooseIndentures({Indenture("IND0000001", 7)});
    EXPECT_EQ(select.Selection().size(), 1u);
    form.instrument = "HC0803";
    page.OnInstrumentSelected();
    EXPECT_TRUE(select.Selection().empty());
    EXPECT_EQ(form.amount, "0");
}

TEST_F(PageOrderTest, ChoosingIndenturesNeedsInstrumentAndTradingCodeAndPicksTheMode) {
    harness.StatusTexts();
    form.Fill("", "0123", "", "");
    page.OnChooseIndentures();
    EXPECT_EQ(harness.LastStatus(), "请先选择商品代码!");
    EXPECT_EQ(form.LastFocus(), EOrderControl::Instrument);
    form.Fill("HC0801", "", "", "");
    page.OnChooseIndentures();
    EXPECT_EQ(harness.LastStatus(), "请输入交易代码!");
    EXPECT_EQ(form.LastFocus(), EOrderControl::TradingCode);
    EXPECT_TRUE(harness.requests.instIndentureQueries.empty());

    form.Fill("HC0801", "0123", "", "");
    form.kind = EOrderKind::SellOpen;
    page.OnChooseIndentures();
    ASSERT_EQ(harness.requests.instIndentureQueries.size(), 1u);
    const TReqQryInstElctIndent& query = harness.requests.instIndentureQueries[0];
    EXPECT_STREQ(query.clientID, "00010123");
    EXPECT_STREQ(query.memberID, "0001");
    EXPECT_STREQ(query.traderID, "00010001");
    EXPECT_STREQ(query.instID, "000001");
    EXPECT_EQ(select.Mode(), '0');
    form.kind = EOrderKind::BuyOffset;
    page.OnChooseIndentures();
    EXPECT_EQ(select.Mode(), '1');
}

TEST_F(PageOrderTest, APreOrderIsCheckedAndParkedWithoutANumber) {
    form.Fill("HC9999", "0123", "3000", "5");
    harness.StatusTexts();
    page.OnPreOrder();
    EXPECT_EQ(harness.LastStatus(), "请先选择商品代码!");

    // An unanswered order does not stop a pre-order.
    form.Fill("HC0801", "0123", "3000", "5");
    page.OnPlaceOrder();
    harness.prompter.boxes.clear();
    harness.StatusTexts();
    page.OnPreOrder();
    EXPECT_EQ(harness.StatusTexts(), std::vector<std::string>{"准备预埋报单....."});
    ASSERT_EQ(harness.prompter.boxes.size(), 1u);
    EXPECT_EQ(harness.prompter.boxes[0].text, "确定要预埋报单？");
    EXPECT_EQ(harness.prompter.boxes[0].caption, "准备预埋报单");
    ASSERT_EQ(preOrders.added.size(), 1u);
    EXPECT_EQ(preOrders.added[0].order.localOrderNo[0], '\0');
    EXPECT_STREQ(preOrders.added[0].order.clientID, "00010123");
    EXPECT_EQ(preOrders.added[0].indentures.size(), 1u);
    EXPECT_TRUE(preOrders.added[0].bringIntoView);
    EXPECT_EQ(form.amount, "");
    EXPECT_EQ(Orders().size(), 1u);

    form.amount = "5";
    harness.prompter.answers = {false};
    page.OnPreOrder();
    EXPECT_EQ(harness.LastStatus(), "取消预埋报单.....");
    EXPECT_EQ(preOrders.added.size(), 1u);
}

TEST_F(PageOrderTest, PrefillFromAPositionOffersItsTransfer) {
    quotations.quotations["000001"] = Quotation("000001", 3050, 2990);
    TYqClientPosi position{};
    quorex::SetText(position.instID, "000001");
    quorex::SetText(position.clientID, "00010123");
    position.longPosi = 10;
    position.offsetLongFrozen = 3;
    position.shortPosi = 4;
    position.offsetShortFrozen = 1;

    page.PrefillFromPosition(position, 's');
    EXPECT_EQ(form.instrument, "HC0801");
    EXPECT_EQ(form.tradingCode, "0123");
    EXPECT_EQ(form.price, "3050");
    EXPECT_EQ(form.kind, EOrderKind::SellOffset);
    EXPECT_EQ(form.amount, "7");
    EXPECT_FALSE(form.indentureRadioVisible);
    EXPECT_EQ(harness.requests.memberPosiQueries.size(), 1u);

    page.PrefillFromPosition(position, 'b');
    EXPECT_EQ(form.kind, EOrderKind::BuyOffset);
    EXPECT_EQ(form.amount, "3");
    EXPECT_TRUE(form.indentureRadioVisible);

    // No stored quotation: the price stays; an unknown instrument changes nothing.
    quotations.quotations.clear();
    form.price = "2000";
    page.PrefillFromPosition(position, 's');
    EXPECT_EQ(form.price, "2000");
    quorex::SetText(position.instID, "000009");
    page.PrefillFromPosition(position, 'b');
    EXPECT_EQ(form.kind, EOrderKind::SellOffset);
}

TEST_F(PageOrderTest, PrefillFromAQuotationPicksTheRadioOfDirectionAndOffset) {
    const TYqQuotation quotation = Quotation("000002", 0, 2990);
    form.kind = EOrderKind::SellOpen;
    form.guarantee = EGuarantee::Indenture;
    page.PrefillFromQuotation(quotation, 'b', '1');
    EXPECT_EQ(form.instrument, "HC0803");
    EXPECT_EQ(form.price, "2990");
    EXPECT_EQ(form.kind, EOrderKind::BuyOffset);
    EXPECT_EQ(form.guarantee, EGuarantee::Indenture);  // 转让买入 keeps it

    page.PrefillFromQuotation(quotation, 's', '1');
    EXPECT_EQ(form.kind, EOrderKind::SellOffset);
    EXPECT_EQ(form.guarantee, EGuarantee::Deposit);
    page.PrefillFromQuotation(quotation, 's', '0');
    EXPECT_EQ(form.kind, EOrderKind::SellOpen);
    page.PrefillFromQuotation(quotation, 'b', '0');
    EXPECT_EQ(form.kind, EOrderKind::BuyOpen);
}

TEST_F(PageOrderTest, BatchPanelBuildsTheSameOrderRecord) {
    form.Fill("HC0803", "0123", "2980", "4");
    form.kind = EOrderKind::BuyOffset;
    EXPECT_EQ(page.Form().CurrentInstID(), "000002");
    const TYqOrder order = page.BuildOrderRecord();
    EXPECT_STREQ(order.clientID, "00010123");
    EXPECT_STREQ(order.instID, "000002");
    EXPECT_EQ(order.price, 2980.0);
    EXPECT_EQ(order.amount, 4);
    EXPECT_EQ(order.localOrderNo[0], '\0');
    EXPECT_FALSE(CheckOrderFields(order, kSelectInstrumentText).has_value());
}

}  // namespace
}  // namespace kvt::test
