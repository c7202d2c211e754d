// The library against the simulator over loopback TCP: trading between two traders, a re-login of
// the same day, the monitor's controls, and the injected faults.
#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <set>

#include "ApiTrader.h"

namespace quorex::sim::test {
namespace {

// The calls of one name, in arrival order.
std::vector<std::string> Keys(const std::vector<CCall>& calls, const std::string& name) {
    std::vector<std::string> keys;
    for (const CCall& call : calls) {
        if (call.name == name) keys.push_back(call.key);
    }
    return keys;
}

TEST_F(SimEndToEndTest, TwoTradersTradeAndCancelThroughTheLibrary) {
    StartServer();
    CApiTrader buyer, seller;
    ASSERT_TRUE(buyer.LogIn(server->Port(), "00010001", "trader1"));
    ASSERT_TRUE(seller.LogIn(server->Port(), "00020001", "trader3"));

    const TYqOrder buy = OrderOf("00010001", 'b', 3500, 2, 1);
    ASSERT_EQ(buyer.ReqYqOrderEx(&buy, kNoIndentures), 0);
    ASSERT_TRUE(buyer.log.WaitFor("RspYqOrder", "260105"));
    ASSERT_TRUE(buyer.log.WaitFor("RtnYqOrder", "26010500000001/o/2"));
    const TYqOrder sell = OrderOf("00020001", 's', 3490, 2, 1);
    ASSERT_EQ(seller.ReqYqOrderEx(&sell, kNoIndentures), 0);
    EXPECT_TRUE(seller.log.WaitFor("RtnYqMatch", "2601050000000001/s/2"));
    EXPECT_TRUE(buyer.log.WaitFor("RtnYqMatch", "2601050000000001/b/2"));
    EXPECT_TRUE(buyer.log.WaitFor("RtnYqOrder", "26010500000001/c/0"));
    EXPECT_TRUE(seller.log.WaitFor("YqQuotation", "000001/2/3500"));  // traded at the resting price

    const TYqOrder rest = OrderOf("00010001", 'b', 3400, 1, 2);
    buyer.ReqYqOrderEx(&rest, kNoIndentures);
    ASSERT_TRUE(buyer.log.WaitFor("RtnYqOrder", "26010500000003/o"));
    TYqOrderCancel cancel{};
    SetText(cancel.orderNo, "26010500000003");
    SetText(cancel.instID, "000001");
    SetText(cancel.clientID, "00010001");
    SetText(cancel.memberID, "0001");
    SetText(cancel.traderID, "00010001");
    ASSERT_EQ(buyer.ReqYqOrderCancel(&cancel), 0);
    EXPECT_TRUE(buyer.log.WaitFor([](const CCall& call) { return call.name == "RspYqOrderCancel" && call.code == "RSP000000"; }));
    EXPECT_TRUE(buyer.log.WaitFor("RtnYqOrderCancel", "26010500000003/d"));

    const TYqOrder refused = OrderOf("00010001", 'b', 3999, 1, 3);
    buyer.ReqYqOrderEx(&refused, kNoIndentures);
    EXPECT_TRUE(buyer.log.WaitFor([](const CCall& call) { return call.name == "RspYqOrder" && call.code == "ERR001003"; }));
}

TEST_F(SimEndToEndTest, ASecondLoginOfTheDayReplaysItAndThenGetsOnlyWhatIsNew) {
    StartServer();
    CApiTrader seller;
    ASSERT_TRUE(seller.LogIn(server->Port(), "00020001", "trader3"));
    std::vector<std::string> firstSession;
    {
        CApiTrader trader;
        ASSERT_TRUE(trader.LogIn(server->Port(), "00010001", "trader1"));
        const TYqOrder buy = OrderOf("00010001", 'b', 3500, 3, 1);
        trader.ReqYqOrderEx(&buy, kNoIndentures);
        const TYqOrder sell = OrderOf("00020001", 's', 3500, 1, 1);
        ASSERT_TRUE(trader.log.WaitFor("YqQuotation", "000001/1/"));
        seller.ReqYqOrderEx(&sell, kNoIndentures);
        ASSERT_TRUE(trader.log.WaitFor("YqQuotation", "000001/2/3500"));
        ASSERT_TRUE(trader.log.WaitFor("RtnYqOrder", "26010500000001/p/2"));
        firstSession = Sequenced(trader.log.Calls());
    }
    // While the trader is away the market moves on.
    const TYqOrder more = OrderOf("00020001", 's', 3520, 2, 2);
    seller.ReqYqOrderEx(&more, kNoIndentures);
    ASSERT_TRUE(seller.log.WaitFor("YqQuotation", "000001/3/"));

    CApiTrader again;
    ASSERT_TRUE(again.LogIn(server->Port(), "00010001", "trader1"));
    const TYqOrder latest = OrderOf("00020001", 's', 3530, 1, 3);
    seller.ReqYqOrderEx(&latest, kNoIndentures);
    ASSERT_TRUE(again.log.WaitFor("YqQuotation", "000001/4/"));

    // The replay from the trader's own log comes between the login answer and the reference data;
    // what follows came from the exchange.
    const std::vector<CCall> calls = again.log.Calls();
    const auto referenceData = std::find_if(calls.begin(), calls.end(), [](const CCall& call) { return call.name == "MarketInfo"; });
    const std::vector<std::string> replayed = Sequenced({calls.begin(), referenceData});
    const std::vector<std::string> received = Sequenced({referenceData, calls.end()});
    EXPECT_EQ(replayed, firstSession);
    std::set<std::string> seen(firstSession.begin(), firstSession.end());
    for (const std::string& delivery : received) EXPECT_TRUE(seen.insert(delivery).second) << "delivered twice: " << delivery;
    EXPECT_NE(std::find(received.begin(), received.end(), "YqQuotation 000001/3/3500"), received.end());
    EXPECT_NE(std::find(received.begin(), received.end(), "YqQuotation 000001/4/3500"), received.end());
    EXPECT_EQ(Keys(calls, "Login").front(), "00000000000001");
}

TEST_F(SimEndToEndTest, TheMonitorPausesAnInstrumentAndTradersAreTold) {
    StartServer();
    CApiTrader trader;
    CApiMonitor monitor;
    ASSERT_TRUE(trader.LogIn(server->Port(), "00010001", "trader1"));
    ASSERT_TRUE(monitor.LogIn(server->Port()));
    TReqInstStateUpdate pause{};
    SetText(pause.instID, "000001");
    pause.isChangeCommand = '2';
    ASSERT_EQ(monitor.ReqYqInstStateUpdate(&pause), 0);
    EXPECT_TRUE(monitor.log.WaitFor([](const CCall& call) { return call.name == "RspYqInstState" && call.code == "RSP000000"; }));
    EXPECT_TRUE(trader.log.WaitFor("YqInstState", "000001/2"));
    const TYqOrder order = OrderOf("00010001", 'b', 3500, 1, 1);
    trader.ReqYqOrderEx(&order, kNoIndentures);
    EXPECT_TRUE(trader.log.WaitFor([](const CCall& call) { return call.name == "RspYqOrder" && call.code == "ERR001002"; }));
}

struct Fault {
    const char* name;
    CFaultOptions options;
    int eventCode;  // what the library reports as the reason the session ended
};

class SimFaultTest : public SimEndToEndTest, public ::testing::WithParamInterface<Fault> {};

TEST_P(SimFaultTest, EndsTheSessionWithTheChannelLostCallback) {
    CServerOptions options;
    options.faults = GetParam().options;
    StartServer(options);
    ::testing::internal::CaptureStdout();
    {
        CApiTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        trader.SetService("127.0.0.1", server->Port());
        TReqTraderLogin login{};
        SetText(login.traderID, "00010001");
        SetText(login.memberID, "0001");
        SetText(login.password, quorex::PasswordDigest("trader1"));
        ASSERT_EQ(trader.ReqTraderLogin(&login), 0);
        EXPECT_TRUE(trader.log.WaitFor("ChannelLost", "channel disconnect"));
        EXPECT_TRUE(Keys(trader.log.Calls(), "SendOver").empty());  // the session never got that far
    }
    std::fflush(stdout);
    const std::string printed = ::testing::internal::GetCapturedStdout();
    EXPECT_NE(printed.find("ChannelLost  ErrorCode=" + std::to_string(GetParam().eventCode)), std::string::npos) << printed;
    // The simulator has let the session go and carries on.
    for (int pass = 0; pass < 200 && server->SessionCount() != 0; ++pass) server->Wakeup();
    EXPECT_EQ(server->SessionCount(), 0u);
}

INSTANTIATE_TEST_SUITE_P(Injected, SimFaultTest,
                         ::testing::Values(Fault{"DropAfterThreePackages", {3, false, false, false}, 0x1001},
                                           Fault{"MalformedFrame", {0, true, false, false}, 0x2003},
                                           Fault{"MalformedPackage", {0, false, true, false}, 0x3001}),
                         [](const ::testing::TestParamInfo<Fault>& entry) { return entry.param.name; });

TEST_F(SimEndToEndTest, DelayedAnswersStillArriveInOrder) {
    CServerOptions options;
    options.delayMs = 50;
    StartServer(options);
    CApiTrader trader;
    ASSERT_TRUE(trader.LogIn(server->Port(), "00010001", "trader1"));
    const auto sent = std::chrono::steady_clock::now();
    for (int i = 1; i <= 3; ++i) {
        const TYqOrder order = OrderOf("00010001", 'b', 3400 + i, 1, i);
        trader.ReqYqOrderEx(&order, kNoIndentures);
    }
    ASSERT_TRUE(trader.log.WaitFor("RspYqOrder", "26010500000003"));
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(50));
    EXPECT_EQ(Keys(trader.log.Calls(), "RspYqOrder"),
              (std::vector<std::string>{"26010500000001", "26010500000002", "26010500000003"}));
}

}  // namespace
}  // namespace quorex::sim::test
