// The simulator on loopback TCP: sessions, heartbeats and time-outs on an injected clock, and the
// fault injections.
#include "sim/SimServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <memory>
#include <thread>
#include <vector>

#include "WireClient.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

using Event = CWireClient::Event;

class SimServerTest : public ::testing::Test {
protected:
    void Start(CServerOptions options = {}) {
        options.port = 0;
        options.logSessions = false;
        std::string error;
        auto day = ParseTradingDay(DemoDayToml(), "demo", "20260105", error);
        ASSERT_TRUE(day) << error;
        server = std::make_unique<CSimServer>(std::move(*day), options, clock, &time);
        ASSERT_TRUE(server->Start(error)) << error;
    }
    // Moves the server's clock on and lets the reactor run its timers.
    void Advance(std::chrono::seconds by) {
        clock.Advance(std::chrono::duration_cast<std::chrono::milliseconds>(by).count());
        server->Wakeup();
    }
    // Waits until the server has the given number of sessions (a bounded number of reactor passes).
    void ExpectSessions(std::size_t count) {
        for (int pass = 0; pass < 200 && server->SessionCount() != count; ++pass) server->Wakeup();
        EXPECT_EQ(server->SessionCount(), count);
    }

    CManualClock clock{1000000};
    CFixedTime time;
    std::unique_ptr<CSimServer> server;
};

TEST_F(SimServerTest, TradersLogInTradeAndLogOutOverTcp) {
    Start();
    CWireClient buyer(server->Port());
    CWireClient seller(server->Port());
    ASSERT_TRUE(buyer.connected && seller.connected);
    const std::vector<CReceived> login = buyer.LoginTrader("00010001", "trader1");
    ASSERT_FALSE(login.empty());
    EXPECT_EQ(login.front().Tid(), tid::RspTraderLogin);
    EXPECT_EQ(login.front().RspCode(), "RSP000000");
    EXPECT_EQ(login.back().Tid(), tid::ReqStandardDataSendOver);
    seller.LoginTrader("00020001", "trader3");

    buyer.Send(tid::ReqYqOrder, CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3500, 2, 1));
    EXPECT_EQ(buyer.Until(tid::RspYqOrder).back().RspCode(), "RSP000000");
    seller.Send(tid::ReqYqOrder, CExchangeHarness::Order("00020001", "00020001", "000001", 's', 3500, 2, 1));
    const TYqMatch sold = seller.Until(tid::RtnYqMatch).back().First<TYqMatch>();
    const TYqMatch bought = buyer.Until(tid::RtnYqMatch).back().First<TYqMatch>();
    EXPECT_STREQ(sold.matchNo, bought.matchNo);
    EXPECT_EQ(bought.volume, 2);
    // Sequenced packages keep their series and numbers on the wire.
    const CReceived quotation = buyer.Until(tid::YqQuotation).back();
    EXPECT_EQ(quotation.Header().SequenceSeries, 4);
    EXPECT_GT(quotation.Header().SequenceNo, 0u);

    TReqTraderLogout logout{};
    SetText(logout.traderID, "00010001");
    buyer.Send(tid::ReqTraderLogout, logout);
    EXPECT_EQ(buyer.Until(tid::RspTraderLogout).back().RspCode(), "RSP000000");
    CWireClient::CFrame after = buyer.Next();
    while (after.event == Event::kPackage) after = buyer.Next();  // returns queued before the logout
    EXPECT_EQ(after.event, Event::kClosed);
    ExpectSessions(1);
}

TEST_F(SimServerTest, ABurstOfClientsThatConnectAndCloseIsReleasedAtOnce) {
    CServerOptions options;
    options.loginTimeoutSeconds = 0;  // only the closed sockets can end these sessions
    Start(options);
    const std::size_t before = server->SessionCount();
    {
        std::vector<std::unique_ptr<CWireClient>> burst;
        for (int i = 0; i < 300; ++i) {
            burst.push_back(std::make_unique<CWireClient>(server->Port()));
            ASSERT_TRUE(burst.back()->connected) << i;
        }
    }  // every client closes its socket here
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (server->SessionCount() != before && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    EXPECT_EQ(server->SessionCount(), before);
    CWireClient trader(server->Port());
    const std::vector<CReceived> login = trader.LoginTrader("00010001", "trader1");
    ASSERT_FALSE(login.empty());
    EXPECT_EQ(login.front().RspCode(), "RSP000000");
    EXPECT_EQ(server->SessionCount(), before + 1);
}

TEST_F(SimServerTest, HeartbeatsGoOutWhenIdleAndSilentPeersAreEnded) {
    Start();
    CWireClient client(server->Port());
    client.LoginTrader("00010001", "trader1");
    Advance(std::chrono::seconds(61));
    EXPECT_EQ(client.Next().event, Event::kHeartbeat);
    Advance(std::chrono::seconds(60));  // 121 seconds without a frame from the client
    CWireClient::CFrame frame = client.Next();
    while (frame.event == Event::kHeartbeat) frame = client.Next();
    EXPECT_EQ(frame.event, Event::kClosed);
    ExpectSessions(0);
}

TEST_F(SimServerTest, WithoutHeartbeatsNothingIsSentWhenIdle) {
    CServerOptions options;
    options.faults.noHeartbeat = true;
    Start(options);
    CWireClient client(server->Port());
    client.LoginTrader("00010001", "trader1");
    Advance(std::chrono::seconds(200));
    EXPECT_EQ(client.Next(std::chrono::milliseconds(100)).event, Event::kTimeout);
    ExpectSessions(1);
}

TEST_F(SimServerTest, AConnectionThatDoesNotLogInIsEnded) {
    CServerOptions options;
    options.loginTimeoutSeconds = 30;
    Start(options);
    CWireClient idle(server->Port());
    CWireClient trader(server->Port());
    trader.LoginTrader("00010001", "trader1");
    ExpectSessions(2);
    Advance(std::chrono::seconds(31));
    EXPECT_EQ(idle.Next().event, Event::kClosed);
    ExpectSessions(1);
}

TEST_F(SimServerTest, ABrokenFrameFromAClientEndsOnlyThatSession) {
    Start();
    CWireClient broken(server->Port());
    CWireClient healthy(server->Port());
    healthy.LoginTrader("00010001", "trader1");
    const std::uint8_t oversize[4] = {1, 0, 0x13, 0x88};  // Length 5000
    broken.SendRaw(oversize);
    EXPECT_EQ(broken.Next().event, Event::kClosed);
    TReqQryQuotation all{};
    healthy.Send(tid::ReqQryYqQuotation, all);
    EXPECT_EQ(healthy.Until(tid::RspQryYqQuotation).back().RspCode(), "RSP000000");
}

TEST_F(SimServerTest, DropAfterEndsTheConnectionAfterThatManyPackages) {
    CServerOptions options;
    options.faults.dropAfterPackages = 3;
    Start(options);
    CWireClient client(server->Port());
    TReqTraderLogin login{};
    SetText(login.traderID, "00010001");
    SetText(login.memberID, "0001");
    SetText(login.password, quorex::PasswordDigest("trader1"));
    client.Send(tid::ReqTraderLogin, login);
    int packages = 0;
    CWireClient::CFrame frame = client.Next();
    for (; frame.event == Event::kPackage; frame = client.Next()) ++packages;
    EXPECT_EQ(packages, 3);
    EXPECT_EQ(frame.event, Event::kClosed);
}

TEST_F(SimServerTest, MalformedFramesAndPackagesFollowTheFirstPackage) {
    for (const bool wholeFrame : {true, false}) {
        CServerOptions options;
        options.faults.malformedFrame = wholeFrame;
        options.faults.malformedPackage = !wholeFrame;
        Start(options);
        CWireClient client(server->Port());
        TReqTraderLogin login{};
        SetText(login.traderID, "00010001");
        client.Send(tid::ReqTraderLogin, login);
        EXPECT_EQ(client.Next().package.Tid(), tid::RspTraderLogin);
        const CWireClient::CFrame next = client.Next();
        if (wholeFrame) {
            EXPECT_EQ(next.event, Event::kBrokenFrame);
        } else {
            ASSERT_EQ(next.event, Event::kPackage);
            CXTPPackage package;
            package.Assign(next.package.wire.data(), next.package.wire.size());
            EXPECT_LT(package.Parse(), 0);
        }
        server->Stop();
    }
}

TEST_F(SimServerTest, DelayedRequestsAreAnsweredLater) {
    CServerOptions options;
    options.delayMs = 80;
    Start(options);
    CWireClient client(server->Port());
    const auto sent = std::chrono::steady_clock::now();
    const std::vector<CReceived> login = client.LoginTrader("00010001", "trader1");
    EXPECT_GE(std::chrono::steady_clock::now() - sent, std::chrono::milliseconds(80));
    ASSERT_FALSE(login.empty());
    EXPECT_EQ(login.front().RspCode(), "RSP000000");
}

TEST_F(SimServerTest, TheBotMakesTheMarketMove) {
    CServerOptions options;
    options.bot = true;
    options.botIntervalMs = 1;
    Start(options);
    CWireClient client(server->Port());
    client.LoginTrader("00010001", "trader1");
    const std::vector<CReceived> quotations = client.Until(tid::YqQuotation);
    ASSERT_FALSE(quotations.empty());
    int matched = 0;
    for (int i = 0; i < 2000 && matched == 0; ++i) {
        server->RunOnReactor([&](CExchange& exchange) {
            for (int instrument = 0; instrument < 3; ++instrument) matched += exchange.Quotation(instrument).volume;
        });
        client.Next(std::chrono::milliseconds(5));
    }
    EXPECT_GT(matched, 0);
}

}  // namespace
}  // namespace quorex::sim::test
