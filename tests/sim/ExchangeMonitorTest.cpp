// The monitor: trading states with their notices, forced cancels, forced logouts and bulletins.
#include <gtest/gtest.h>

#include "ExchangeHarness.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

class ExchangeMonitorTest : public ::testing::Test {
protected:
    void SetUp() override {
        harness.LoginTrader(1, "00010001", "trader1");
        harness.LoginTrader(2, "00020001", "trader3");
        harness.LoginMonitor(3);
        for (SessionId session : {1u, 2u, 3u}) harness.Drain(session);
    }
    CReceived SetInstrumentState(char state, const char* instID = "000001") {
        TReqInstStateUpdate update{};
        SetText(update.instID, instID);
        update.isChangeCommand = state;
        harness.Send(3, tid::ReqYqInstStateUpdate, update);
        return harness.Answer(3);
    }
    TYqOrder Buy(long long local) { return CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400, 1, local); }
    TYqOrderCancel CancelOf(const TYqOrder& order) {
        TYqOrderCancel cancel{};
        SetText(cancel.orderNo, FieldText(order.orderNo));
        SetText(cancel.instID, FieldText(order.instID));
        return cancel;
    }
    TUserPassword Credentials(const char* password) {
        TUserPassword credentials{};
        SetText(credentials.userID, "admin001");
        SetText(credentials.password, quorex::PasswordDigest(password));
        return credentials;
    }

    CExchangeHarness harness;
};

TEST_F(ExchangeMonitorTest, AnInstrumentStateChangeIsAnnouncedAndGovernsOrders) {
    EXPECT_EQ(SetInstrumentState('2').RspCode(), "RSP000000");
    const std::vector<CReceived> notices = OfType(harness.Drain(2), tid::NtfYqInstStateUpdate);
    ASSERT_EQ(notices.size(), 1u);
    EXPECT_EQ(notices[0].First<TInstState>().tradeState, '2');
    EXPECT_EQ(notices[0].Header().SequenceSeries, 4);
    EXPECT_EQ(harness.Place(1, Buy(1)).RspCode(), "ERR001002");
    EXPECT_EQ(SetInstrumentState('1').RspCode(), "RSP000000");
    EXPECT_EQ(harness.Place(1, Buy(1)).RspCode(), "RSP000000");
    EXPECT_EQ(SetInstrumentState('9').RspCode(), "ERR002001");
    EXPECT_EQ(SetInstrumentState('2', "999999").RspCode(), "ERR001001");
}

TEST_F(ExchangeMonitorTest, MarketAndExchangeStatesStopTradingToo) {
    TReqMarketStateUpdate market{};
    SetText(market.marketID, "01");
    market.msChangeCommand = '3';
    harness.Send(3, tid::ReqMarketStateUpdate, market);
    EXPECT_EQ(harness.Answer(3).RspCode(), "RSP000000");
    EXPECT_EQ(OfType(harness.Drain(1), tid::NtfMarketStateUpdate).at(0).First<TMarketState>().marketState, '3');
    EXPECT_EQ(harness.Place(1, Buy(1)).RspCode(), "ERR001002");
    market.msChangeCommand = '1';
    harness.Send(3, tid::ReqMarketStateUpdate, market);
    harness.Answer(3);

    TReqExchangeStateUpdate exchange{};
    SetText(exchange.exchangeID, "QRX");
    exchange.esChangeCommand = '2';
    harness.Send(3, tid::ReqExchangeStateUpdate, exchange);
    EXPECT_EQ(harness.Answer(3).RspCode(), "RSP000000");
    EXPECT_EQ(OfType(harness.Drain(1), tid::NtfExchangeStateUpdate).size(), 1u);
    EXPECT_EQ(harness.Place(1, Buy(1)).RspCode(), "ERR001002");
    TReqQryExchangeState query{};
    harness.Send(3, tid::ReqQryExchangeState, query);
    EXPECT_EQ(harness.Answer(3).First<TExchangeState>().state, '2');
    SetText(exchange.exchangeID, "XXX");
    harness.Send(3, tid::ReqExchangeStateUpdate, exchange);
    EXPECT_EQ(harness.Answer(3).RspCode(), "ERR002002");
}

TEST_F(ExchangeMonitorTest, ForcedCancelsNeedTheMonitorsPassword) {
    const TYqOrder order = harness.Place(1, Buy(1)).First<TYqOrder>();
    harness.Send(3, tid::ReqForceYqOrderCancel, CancelOf(order), Credentials("wrong"));
    EXPECT_EQ(harness.Answer(3).RspCode(), "ERR000005");
    harness.Send(3, tid::ReqForceYqOrderCancel, CancelOf(order), Credentials("admin1"));
    EXPECT_EQ(harness.Answer(3).RspCode(), "RSP000000");
    const std::vector<CReceived> owner = OfType(harness.Drain(1), tid::RtnYqOrderCancel);
    ASSERT_EQ(owner.size(), 1u);
    EXPECT_EQ(owner[0].First<TYqOrder>().status, 'f');
    EXPECT_STREQ(owner[0].First<TYqOrder>().cancelID, "admin001");
    // The monitor's private flow carries every member's returns.
    const std::vector<CReceived> monitor = harness.Drain(3);
    EXPECT_EQ(OfType(monitor, tid::RtnYqOrder).size(), 1u);
    EXPECT_EQ(OfType(monitor, tid::RtnYqOrderCancel).size(), 1u);
}

TEST_F(ExchangeMonitorTest, ForcedCancelByFilterTakesEveryMatchingOrder) {
    harness.Place(1, Buy(1));
    harness.Place(1, Buy(2));
    harness.Place(2, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3700, 1, 1));
    TReqOrderForceCancel filter{};
    SetText(filter.clientID, "00010001");
    harness.Send(3, tid::ReqOrderForceCancel, filter);
    EXPECT_EQ(harness.Answer(3).RspCode(), "RSP000000");
    EXPECT_EQ(harness.exchange->Order(0).record.status, 'f');
    EXPECT_EQ(harness.exchange->Order(1).record.status, 'f');
    EXPECT_EQ(harness.exchange->Order(2).record.status, 'o');
}

TEST_F(ExchangeMonitorTest, ForcedLogoutEndsTheTradersSession) {
    TReqForceTraderLogout logout{};
    SetText(logout.traderID, "00010002");
    harness.Send(3, tid::ReqForceTraderLogout, logout);
    EXPECT_EQ(harness.Answer(3).RspCode(), "ERR002004");
    SetText(logout.traderID, "00010001");
    harness.Send(3, tid::ReqForceTraderLogout, logout);
    EXPECT_EQ(harness.Answer(3).RspCode(), "RSP000000");
    EXPECT_EQ(harness.output.ended, std::vector<SessionId>{1});
    TReqQryTrader query{};
    SetText(query.traderID, "00010001");
    harness.Send(3, tid::ReqQryTrader, query);
    EXPECT_EQ(harness.Answer(3).First<TTrader>().isLogin, '0');
}

TEST_F(ExchangeMonitorTest, ABulletinForAMemberGoesOnlyToThatMembersFlow) {
    TTradeBulletinBoard bulletin{};
    SetText(bulletin.title, "notice");
    SetText(bulletin.memberID, "0001");
    harness.Send(3, tid::ReqTradeBulletinBoard, bulletin);
    EXPECT_EQ(harness.Answer(3).RspCode(), "RSP000000");
    const std::vector<CReceived> member = OfType(harness.Drain(1), tid::NtfTradeBulletinBoard);
    ASSERT_EQ(member.size(), 1u);
    EXPECT_EQ(member[0].Header().SequenceSeries, 2);
    EXPECT_STREQ(member[0].First<TTradeBulletinBoard>().announcer, "admin001");
    EXPECT_TRUE(OfType(harness.Drain(2), tid::NtfTradeBulletinBoard).empty());
    SetText(bulletin.memberID, "");
    harness.Send(3, tid::ReqTradeBulletinBoard, bulletin);
    harness.Answer(3);
    EXPECT_EQ(OfType(harness.Drain(2), tid::NtfTradeBulletinBoard).size(), 1u);
    TReqQryTradeBulletinBoard query{};
    harness.Send(2, tid::ReqQryTradeBulletinBoard, query);
    EXPECT_EQ(harness.Answer(2).Records<TTradeBulletinBoard>().size(), 2u);  // the configured one and the public one
}

}  // namespace
}  // namespace quorex::sim::test
