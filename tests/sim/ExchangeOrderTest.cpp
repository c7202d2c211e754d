// Order validation, matching, cancels, and what fills do to capital, positions and indentures.
#include <gtest/gtest.h>

#include "ExchangeHarness.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

constexpr std::uint32_t kOrderReturn = tid::RtnYqOrder;
constexpr std::uint32_t kCancelReturn = tid::RtnYqOrderCancel;
constexpr std::uint32_t kMatchReturn = tid::RtnYqMatch;
constexpr std::uint32_t kQuotation = tid::YqQuotation;

// Trader 00010001 on session 1 and trader 00020001 on session 2, both caught up.
class ExchangeOrderTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.LoginTrader(1, "00010001", "trader1");
        harness.LoginTrader(2, "00020001", "trader3");
        harness.Drain(1);
        harness.Drain(2);
    }
    static TYqOrder Buy(double price, int amount, long long local, char offset = '0', char pledge = '1') {
        return CExchangeHarness::Order("00010001", "00010001", "000001", 'b', price, amount, local, offset, pledge);
    }
    static TYqOrder Sell(double price, int amount, long long local, char offset = '0', char pledge = '1') {
        return CExchangeHarness::Order("00020001", "00020001", "000001", 's', price, amount, local, offset, pledge);
    }
    const TMemberCapital& Capital(const char* member) { return *harness.exchange->Accounts().Capital(member, '0'); }
    TYqClientPosi Position(const char* client, const char* inst = "000001") {
        TYqClientPosi found{};
        harness.exchange->Accounts().ForEachClientPosition([&](const TYqClientPosi& p) {
            if (FieldText(p.clientID) == client && FieldText(p.instID) == inst) found = p;
        });
        return found;
    }
    const TElctIndenture& Indenture(int index) { return harness.exchange->Accounts().Indentures()[index]; }

    CExchangeHarness harness;
};

struct RefusedOrder {
    const char* name;
    TYqOrder order;
    const char* code;
};

class ExchangeOrderRefusalTest : public ExchangeOrderTest, public ::testing::WithParamInterface<RefusedOrder> {};

TEST_P(ExchangeOrderRefusalTest, IsAnsweredWithItsCodeAndLeavesNoTrace) {
    const CReceived answer = harness.Place(1, GetParam().order);
    EXPECT_EQ(answer.Tid(), tid::RspYqOrder);
    EXPECT_EQ(answer.RspCode(), GetParam().code);
    EXPECT_STREQ(answer.First<TYqOrder>().localOrderNo, GetParam().order.localOrderNo);  // the echo
    EXPECT_TRUE(harness.Drain(1).empty());
    EXPECT_EQ(harness.exchange->OrderCount(), 0u);
    EXPECT_DOUBLE_EQ(Capital("0001").frozen, 0);
}

TYqOrder With(TYqOrder order, void (*change)(TYqOrder&)) {
    change(order);
    return order;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExchangeOrderRefusalTest,
    ::testing::Values(
        RefusedOrder{"OtherTrader", CExchangeHarness::Order("00010002", "00010002", "000001", 'b', 3500, 1, 1), "ERR000007"},
        RefusedOrder{"UnknownInstrument", CExchangeHarness::Order("00010001", "00010001", "999999", 'b', 3500, 1, 1), "ERR001001"},
        RefusedOrder{"AboveUpperLimit", CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3851, 1, 1), "ERR001003"},
        RefusedOrder{"BelowLowerLimit", CExchangeHarness::Order("00010001", "00010001", "000001", 's', 3149, 1, 1), "ERR001003"},
        RefusedOrder{"OffTick", CExchangeHarness::Order("00010001", "00010001", "000003", 'b', 3601, 1, 1), "ERR001004"},
        RefusedOrder{"ZeroAmount", CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 0, 1), "ERR001005"},
        RefusedOrder{"AboveMaxHand", CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 501, 1), "ERR001005"},
        RefusedOrder{"LocalOrderNoZero", CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 1, 0), "ERR001006"},
        RefusedOrder{"LocalOrderNoNotDigits",
                     With(CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 1, 1),
                          [](TYqOrder& o) { SetText(o.localOrderNo, "0000000000001x"); }),
                     "ERR001006"},
        RefusedOrder{"ClientOfOtherMember", CExchangeHarness::Order("00010001", "00020001", "000001", 'b', 3500, 1, 1), "ERR001007"},
        RefusedOrder{"BadDirection", CExchangeHarness::Order("00010001", "00010001", "000001", 'x', 3500, 1, 1), "ERR001008"},
        RefusedOrder{"BuyNewAgainstIndentures", CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 1, 1, '0', '2'),
                     "ERR001008"},
        RefusedOrder{"IndentureSellWithoutIndentures",
                     CExchangeHarness::Order("00010001", "00010001", "000001", 's', 3500, 1, 1, '0', '2'), "ERR001011"},
        RefusedOrder{"TransferWithoutHolding", CExchangeHarness::Order("00010001", "00010001", "000002", 's', 3700, 1, 1, '1'),
                     "ERR001012"},
        RefusedOrder{"TransferAboveHolding", CExchangeHarness::Order("00010001", "00010001", "000001", 's', 3500, 21, 1, '1'),
                     "ERR001012"}),
    [](const ::testing::TestParamInfo<RefusedOrder>& entry) { return entry.param.name; });

TEST_F(ExchangeOrderTest, AMatchReachesBothSidesAndMovesTheMarket) {
    const CReceived bought = harness.Place(1, Buy(3500, 5, 1));
    EXPECT_EQ(bought.RspCode(), "RSP000000");
    const TYqOrder buyOrder = bought.First<TYqOrder>();
    EXPECT_STREQ(buyOrder.orderNo, "26010500000001");
    EXPECT_EQ(buyOrder.status, 'o');
    EXPECT_EQ(buyOrder.remainAmount, 5);
    EXPECT_STREQ(buyOrder.applyTime, "10:30:00");
    harness.Drain(1);

    EXPECT_EQ(harness.Place(2, Sell(3490, 3, 1)).RspCode(), "RSP000000");
    // The seller: accepted, matched at the resting price, filled.
    const std::vector<CReceived> seller = harness.Drain(2);
    ASSERT_EQ(OfType(seller, kMatchReturn).size(), 1u);
    const TYqMatch sold = OfType(seller, kMatchReturn)[0].First<TYqMatch>();
    EXPECT_DOUBLE_EQ(sold.price, 3500);
    EXPECT_EQ(sold.volume, 3);
    EXPECT_EQ(sold.buyOrSell, 's');
    EXPECT_STREQ(sold.matchNo, "2601050000000001");
    const std::vector<CReceived> sellerOrders = OfType(seller, kOrderReturn);
    ASSERT_EQ(sellerOrders.size(), 2u);
    EXPECT_EQ(sellerOrders[0].First<TYqOrder>().status, 'o');
    EXPECT_EQ(sellerOrders[1].First<TYqOrder>().status, 'c');
    // The buyer: the same match number, partly filled.
    const std::vector<CReceived> buyer = harness.Drain(1);
    ASSERT_EQ(OfType(buyer, kMatchReturn).size(), 1u);
    EXPECT_STREQ(OfType(buyer, kMatchReturn)[0].First<TYqMatch>().matchNo, sold.matchNo);
    const TYqOrder buyNow = OfType(buyer, kOrderReturn).back().First<TYqOrder>();
    EXPECT_EQ(buyNow.status, 'p');
    EXPECT_EQ(buyNow.remainAmount, 2);
    // The market: last price, volume, the rest of the bid, open interest.
    const TYqQuotation quotation = OfType(buyer, kQuotation).back().First<TYqQuotation>();
    EXPECT_DOUBLE_EQ(quotation.lastest, 3500);
    EXPECT_EQ(quotation.volume, 3);
    EXPECT_DOUBLE_EQ(quotation.bid1, 3500);
    EXPECT_EQ(quotation.bidLot1, 2);
    EXPECT_DOUBLE_EQ(quotation.ask1, 0);
    EXPECT_EQ(quotation.Posi, 23);
    EXPECT_DOUBLE_EQ(quotation.upperPrice, 3850);
    // Capital: the matched part's deposit is occupied at the fill price, the rest stays frozen.
    EXPECT_DOUBLE_EQ(Capital("0001").todayOccupied, 3500.0 * 3 * 10 * 0.1);
    EXPECT_DOUBLE_EQ(Capital("0001").frozen, 3500.0 * 2 * 10 * 0.1);
    EXPECT_EQ(Position("00010001").longPosi, 23);
    EXPECT_EQ(Position("00020001").shortPosi, 23);
}

TEST_F(ExchangeOrderTest, BestPriceFirstThenArrivalOrder) {
    harness.Place(2, Sell(3495, 2, 1));
    harness.Place(2, Sell(3490, 2, 2));
    harness.Place(2, Sell(3490, 1, 3));
    harness.Drain(2);
    harness.Place(1, Buy(3500, 4, 1));
    std::vector<std::pair<std::string, double>> fills;
    for (const CReceived& match : OfType(harness.Drain(2), kMatchReturn)) {
        const TYqMatch record = match.First<TYqMatch>();
        fills.push_back({std::string(FieldText(record.orderNo)), record.price});
    }
    const std::vector<std::pair<std::string, double>> expected = {
        {"26010500000002", 3490}, {"26010500000003", 3490}, {"26010500000001", 3495}};
    EXPECT_EQ(fills, expected);
    EXPECT_EQ(harness.exchange->Quotation(0).askLot1, 1);  // what is left of the 3495 order
}

TEST_F(ExchangeOrderTest, DepositsAccumulateUntilCapitalRunsOut) {
    // Each order of 500 lots at 3500 freezes 1 750 000 of member 0001's 10 000 000.
    for (int i = 1; i <= 5; ++i) EXPECT_EQ(harness.Place(1, Buy(3500, 500, i)).RspCode(), "RSP000000");
    EXPECT_EQ(harness.Place(1, Buy(3500, 500, 6)).RspCode(), "ERR001009");
    EXPECT_DOUBLE_EQ(Capital("0001").frozen, 5 * 1750000.0);
    // The refused order did not use up its local number.
    EXPECT_EQ(harness.Place(1, Buy(3500, 1, 6)).RspCode(), "RSP000000");
    EXPECT_EQ(harness.Place(1, Buy(3500, 1, 6)).RspCode(), "ERR001006");
}

TEST_F(ExchangeOrderTest, CancelReleasesWhatTheOrderFroze) {
    const std::string orderNo = FieldText(harness.Place(1, Buy(3400, 2, 1)).First<TYqOrder>().orderNo).data();
    harness.Drain(1);
    TYqOrderCancel cancel{};
    SetText(cancel.orderNo, orderNo);
    SetText(cancel.instID, "000001");
    SetText(cancel.clientID, "00020001");
    SetText(cancel.memberID, "0002");
    SetText(cancel.traderID, "00020001");
    harness.Send(2, tid::ReqYqOrderCancel, cancel);
    EXPECT_EQ(harness.Answer(2).RspCode(), "ERR001015");  // another member's order

    SetText(cancel.traderID, "00010001");
    harness.Send(1, tid::ReqYqOrderCancel, cancel);
    const CReceived answer = harness.Answer(1);
    EXPECT_EQ(answer.Tid(), tid::RspYqOrderCancel);
    EXPECT_EQ(answer.RspCode(), "RSP000000");
    const std::vector<CReceived> pulled = harness.Drain(1);
    ASSERT_EQ(OfType(pulled, kCancelReturn).size(), 1u);
    const TYqOrder cancelled = OfType(pulled, kCancelReturn)[0].First<TYqOrder>();
    EXPECT_EQ(cancelled.status, 'd');
    EXPECT_STREQ(cancelled.cancelID, "00010001");
    EXPECT_DOUBLE_EQ(OfType(pulled, kQuotation).back().First<TYqQuotation>().bid1, 0);
    EXPECT_DOUBLE_EQ(Capital("0001").frozen, 0);
    EXPECT_DOUBLE_EQ(Capital("0001").todayBalance, 10000000.0 - Capital("0001").lastOccupied);

    harness.Send(1, tid::ReqYqOrderCancel, cancel);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR001014");
    SetText(cancel.orderNo, "26010500000099");
    harness.Send(1, tid::ReqYqOrderCancel, cancel);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR001013");
}

TEST_F(ExchangeOrderTest, TransferOfAHoldingBooksProfitAndReleasesItsDeposit) {
    // 00010001 starts long 20 at 3480.
    const double occupiedBefore = Capital("0001").lastOccupied;
    EXPECT_DOUBLE_EQ(occupiedBefore, 3480.0 * 20 * 10 * 0.1);
    EXPECT_EQ(harness.Place(1, Buy(3500, 5, 1, '1')).RspCode(), "ERR001012");  // no short holding
    EXPECT_EQ(harness.Place(1, CExchangeHarness::Order("00010001", "00010001", "000001", 's', 3500, 5, 2, '1')).RspCode(),
              "RSP000000");
    EXPECT_EQ(Position("00010001").offsetLongFrozen, 5);
    EXPECT_EQ(harness.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 'b', 3500, 5, 1)).RspCode(), "RSP000000");
    const TYqClientPosi after = Position("00010001");
    EXPECT_EQ(after.longPosi, 15);
    EXPECT_EQ(after.offsetLongFrozen, 0);
    EXPECT_EQ(after.todayOffsetLong, 5);
    EXPECT_DOUBLE_EQ(Capital("0001").profit, (3500.0 - 3480.0) * 5 * 10);
    EXPECT_DOUBLE_EQ(Capital("0001").todayOccupied, -occupiedBefore / 4);
    const TYqMatch match = OfType(harness.Drain(1), kMatchReturn)[0].First<TYqMatch>();
    EXPECT_DOUBLE_EQ(match.offsetProfit, 1000);
    EXPECT_EQ(match.offsetFlag, '1');
    EXPECT_EQ(harness.exchange->Quotation(0).Posi, 20);  // one long closed, one opened
}

TEST_F(ExchangeOrderTest, IndenturesGuaranteeASaleAndComeBackWithItsTransfer) {
    // Indenture E000000001 (LW, 100 available) guarantees a new sale of 10 lots.
    TYqOrder sale = CExchangeHarness::Order("00010001", "00010001", "000001", 's', 3500, 10, 1, '0', '2');
    TYqFrznElctIndenture wrongKind{};
    SetText(wrongKind.indentNo, "E000000002");  // hot-rolled coil, not rebar
    wrongKind.frznAmount = 10;
    harness.Send(1, tid::ReqYqOrder, sale, wrongKind);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR001010");
    TYqFrznElctIndenture first{}, second{};
    SetText(first.indentNo, "E000000001");
    first.frznAmount = 6;
    SetText(second.indentNo, "E000000001");
    second.frznAmount = 3;
    harness.Send(1, tid::ReqYqOrder, sale, first, second);
    EXPECT_EQ(harness.Answer(1).RspCode(), "ERR001011");  // 9 listed for 10 lots
    second.frznAmount = 4;
    harness.Send(1, tid::ReqYqOrder, sale, first, second);
    EXPECT_EQ(harness.Answer(1).RspCode(), "RSP000000");
    EXPECT_EQ(Indenture(0).avaAmount, 90);
    EXPECT_EQ(Indenture(0).frznYqOpen, 10);

    harness.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 'b', 3500, 10, 1));
    EXPECT_EQ(Indenture(0).frznYqOpen, 0);
    EXPECT_EQ(Indenture(0).ocuAmountYq, 10);
    EXPECT_EQ(Position("00010001").indentPosi, 10);
    EXPECT_EQ(Position("00010001").shortPosi, 10);
    EXPECT_DOUBLE_EQ(Capital("0001").todayOccupied, 0);  // indentures, not deposits

    // Buying the sale back with the same indenture frees it again.
    TYqOrder buyBack = CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3480, 10, 2, '1', '2');
    TYqFrznElctIndenture release{};
    SetText(release.indentNo, "E000000001");
    release.frznAmount = 10;
    harness.Send(1, tid::ReqYqOrder, buyBack, release);
    EXPECT_EQ(harness.Answer(1).RspCode(), "RSP000000");
    EXPECT_EQ(Indenture(0).frznYqOffset, 10);
    harness.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3480, 10, 2, '1'));
    EXPECT_EQ(Indenture(0).ocuAmountYq, 0);
    EXPECT_EQ(Indenture(0).frznYqOffset, 0);
    EXPECT_EQ(Indenture(0).avaAmount, 100);
    EXPECT_EQ(Position("00010001").shortPosi, 0);
    EXPECT_DOUBLE_EQ(Capital("0001").profit, (3500.0 - 3480.0) * 10 * 10);
    EXPECT_DOUBLE_EQ(Capital("0002").profit, (3480.0 - 3500.0) * 10 * 10);
}

TEST_F(ExchangeOrderTest, TheLoginAnswerCarriesTheLastAcceptedLocalOrderNumber) {
    harness.Place(1, Buy(3400, 1, 41));
    harness.exchange->Disconnect(1);
    EXPECT_STREQ(harness.LoginTrader(3, "00010001", "trader1").First<TReqTraderLogin>().localOrderNo, "00000000000041");
}

}  // namespace
}  // namespace quorex::sim::test
