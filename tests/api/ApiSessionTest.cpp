#include <cstring>
#include <mutex>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "api/FakeExchange.h"
#include "api/FakeLogin.h"
#include "api/ApiTestSupport.h"
#include "api/ApiState.h"
#include "public/FlowSeries.h"
#include "public/PackageTypes.h"
#include "quorex/Text.h"
#include "tests/public/CollectedLog.h"
#include "tests/public/ReactorTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

TYqOrder Order(const char* orderNo) {
    TYqOrder order{};
    std::strcpy(order.orderNo, orderNo);
    std::strcpy(order.instID, "HR0612");
    return order;
}

class ApiSession : public CWorkingDirectoryTest {
protected:
    // Logs the trader in against the fake exchange and checks the login package it sent.
    std::vector<TSequencePoint> LogIn(CRecordingTrader& trader, const char* tradeDate) {
        trader.SetService("127.0.0.1", m_exchange.Port());
        const TReqTraderLogin login = LoginRecord();
        EXPECT_EQ(trader.ReqTraderLogin(&login, "login"), 0);
        EXPECT_TRUE(m_exchange.Accept());
        auto request = m_exchange.Receive();
        std::vector<TSequencePoint> points;
        if (!request) {
            ADD_FAILURE() << "no login request";
            return points;
        }
        const CXTPPackage& package = *request->package;
        EXPECT_EQ(package.m_XTPHeader.Tid, tid::ReqTraderLogin);
        EXPECT_EQ(package.m_XTPHeader.SequenceSeries, kDialogSeries);
        EXPECT_STREQ(package.m_XTPHeader.RootID, "login");
        TReqTraderLogin sent{};
        EXPECT_TRUE(package.GetRecord(sent));
        EXPECT_STREQ(sent.traderID, "T001");
        EXPECT_STREQ(sent.password, login.password);
        EXPECT_STREQ(sent.ipAddress, "127.0.0.1");
        EXPECT_STREQ(sent.clientID, "");  // not copied from the caller's record
        EXPECT_EQ(sent.machineID, 0);
        m_sentTradeDate = sent.tradeDate;
        for (int i = 0; i < package.GetField(0xA0FE).Count(); ++i) {
            TSequencePoint point{};
            package.GetRecord(point, i);
            points.push_back(point);
        }
        AnswerLogin(m_exchange, tradeDate);
        return points;
    }

    CFakeExchange m_exchange;
    std::string m_sentTradeDate;
};

}  // namespace

TEST_F(ApiSession, FirstLoginEverThenSameDayReplayDeliversEverythingOnce) {
    {
        CRecordingTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        const auto points = LogIn(trader, "20261208");
        EXPECT_EQ(m_sentTradeDate, "");
        ASSERT_EQ(points.size(), 3u);
        // Added private, member, market; the last added comes first in the package.
        EXPECT_EQ(points[0].sequenceSeries, 4);
        EXPECT_EQ(points[1].sequenceSeries, 2);
        EXPECT_EQ(points[2].sequenceSeries, 3);
        for (const TSequencePoint& point : points) EXPECT_EQ(point.sequenceNo, 0);
        ASSERT_TRUE(trader.WaitForCalls(1));
        for (std::uint32_t n = 1; n <= 3; ++n) SendOrderReturn(m_exchange, n, std::to_string(n).c_str());
        ASSERT_TRUE(trader.WaitForCalls(4));
        EXPECT_EQ(trader.Names(), (std::vector<std::string>{"Login 20261208", "RtnYqOrder 1", "RtnYqOrder 2", "RtnYqOrder 3"}));
        EXPECT_EQ(trader.Calls()[0].requestId, "login");
    }
    std::vector<std::uint8_t> clock = FileBytes("T_CLOCKT001.dat");
    ASSERT_EQ(clock.size(), 18u);
    EXPECT_EQ(std::string(clock.begin(), clock.begin() + 8), "20261208");

    // A second login of the same day resumes after 3, replays 1..3 and then gets only what is new.
    m_exchange.CloseConnection();
    CRecordingTrader again;
    ASSERT_EQ(again.initApi(), 0);
    const auto points = LogIn(again, "20261208");
    EXPECT_EQ(m_sentTradeDate, "20261208");
    std::set<std::pair<int, int>> resumed;
    for (const TSequencePoint& point : points) resumed.insert({point.sequenceSeries, point.sequenceNo});
    EXPECT_EQ(resumed, (std::set<std::pair<int, int>>{{2, 0}, {3, 3}, {4, 0}}));
    SendOrderReturn(m_exchange, 3, "3");  // already delivered: dropped by the sync point
    SendOrderReturn(m_exchange, 4, "4");
    ASSERT_TRUE(again.WaitForCalls(5));
    EXPECT_EQ(again.Names(),
              (std::vector<std::string>{"Login 20261208", "RtnYqOrder 1", "RtnYqOrder 2", "RtnYqOrder 3", "RtnYqOrder 4"}));
}

TEST_F(ApiSession, NewTradingDayResetsTheSyncPointsAndTheLog) {
    {
        CRecordingTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        LogIn(trader, "20261207");
        for (std::uint32_t n = 1; n <= 2; ++n) SendOrderReturn(m_exchange, n, std::to_string(n).c_str());
        ASSERT_TRUE(trader.WaitForCalls(3));
    }
    m_exchange.CloseConnection();
    CRecordingTrader nextDay;
    ASSERT_EQ(nextDay.initApi(), 0);
    testing::internal::CaptureStdout();
    LogIn(nextDay, "20261208");
    ASSERT_TRUE(nextDay.WaitForCalls(1));
    SendOrderReturn(m_exchange, 1, "new");
    ASSERT_TRUE(nextDay.WaitForCalls(2));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "日期变更，修改接收断点! pr=2\n");
    EXPECT_EQ(nextDay.Names(), (std::vector<std::string>{"Login 20261208", "RtnYqOrder new"}));
    BYTEARRAY<8> date;
    nextDay.GetTradeDate(date);
    EXPECT_STREQ(date.data(), "20261208");
}

TEST_F(ApiSession, LoginResultsAndServerOrder) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    const TReqTraderLogin login = LoginRecord();
    testing::internal::CaptureStdout();
    EXPECT_EQ(trader.ReqTraderLogin(&login), -1);  // no server
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    std::uint16_t closedPorts[2];
    for (std::uint16_t& port : closedPorts) {
        CLoopbackListener listener;
        port = listener.Port();
    }
    trader.SetService("127.0.0.1", closedPorts[0]);
    trader.SetService("127.0.0.1", closedPorts[1]);
    trader.SetService("127.0.0.1", m_exchange.Port());
    testing::internal::CaptureStdout();
    EXPECT_EQ(trader.ReqTraderLogin(&login), 0);
    EXPECT_EQ(trader.ReqTraderLogin(&login), -2);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "connect Fialed!!\nconnect Fialed!!\n已经登录\n");
    EXPECT_TRUE(m_exchange.Accept());
    EXPECT_TRUE(m_exchange.Receive().has_value());

}

TEST_F(ApiSession, RequestsNeedASessionAndCarryTheirRequestIds) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    const TYqOrder order = Order("");
    const TYqFrznElctIndenture none[1] = {};
    EXPECT_EQ(trader.ReqYqOrderEx(&order, none), -1);
    LogIn(trader, "20261208");

    TYqFrznElctIndenture list[4] = {};
    for (int i = 0; i < 3; ++i) std::snprintf(list[i].indentNo, sizeof list[i].indentNo, "E%d", i);
    EXPECT_EQ(trader.ReqYqOrderEx(&order, list, "123456789abc"), 0);
    EXPECT_EQ(trader.ReqYqOrderEx(&order, none), 0);
    EXPECT_EQ(trader.ReqYqOrder(&order, &none[0], nullptr), 0);
    auto first = m_exchange.Receive();
    auto second = m_exchange.Receive();
    auto third = m_exchange.Receive();
    ASSERT_TRUE(first && second && third);
    EXPECT_EQ(first->package->m_XTPHeader.Tid, tid::ReqYqOrder);
    EXPECT_STREQ(first->package->m_XTPHeader.RootID, "12345678");
    EXPECT_EQ(first->package->GetField(0xA10D).Count(), 3);
    EXPECT_EQ(second->package->GetField(0xA10D).Count(), 0);
    EXPECT_STREQ(second->package->m_XTPHeader.RootID, "");
    EXPECT_EQ(third->package->GetField(0xA10D).Count(), 1);
}

// A request whose records do not all fit in one package is refused whole: the exchange never
// sees it cut short.
TEST_F(ApiSession, AnOrderWithMoreIndenturesThanAPackageHoldsIsRefusedAndNothingIsSent) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    LogIn(trader, "20261208");
    const TYqOrder order = Order("");
    std::vector<TYqFrznElctIndenture> list(CTraderApi::kMaxYqOrderIndentures + 2);
    for (std::size_t i = 0; i + 1 < list.size(); ++i) quorex::SetText(list[i].indentNo, "E" + std::to_string(i));
    // One more than fits, then exactly as many as fit (the empty entry ends the list).
    EXPECT_EQ(trader.ReqYqOrderEx(&order, list.data()), -1);
    list[CTraderApi::kMaxYqOrderIndentures] = TYqFrznElctIndenture{};
    EXPECT_EQ(trader.ReqYqOrderEx(&order, list.data()), 0);
    auto sent = m_exchange.Receive();
    ASSERT_TRUE(sent.has_value());
    EXPECT_EQ(sent->package->GetField(0xA10D).Count(), CTraderApi::kMaxYqOrderIndentures);
    EXPECT_LE(sent->bytes.size(), 4096u);
    EXPECT_FALSE(m_exchange.Receive(200).has_value());
}

TEST_F(ApiSession, StandardDataHandshakeAndChannelLoss) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    LogIn(trader, "20261208");
    ASSERT_TRUE(trader.WaitForCalls(1));
    m_exchange.Send(tid::ReqStandardDataSendOver, kDialogSeries, 0, [](CXTPPackage&) {});
    auto ack = m_exchange.Receive();
    ASSERT_TRUE(ack.has_value());
    EXPECT_EQ(ack->package->m_XTPHeader.Tid, tid::RspStandardDataSendOver);
    ASSERT_TRUE(trader.WaitForCalls(2));

    testing::internal::CaptureStdout();
    m_exchange.CloseConnection();
    ASSERT_TRUE(trader.WaitForCalls(3));
    const std::string printed = testing::internal::GetCapturedStdout();
    EXPECT_EQ(printed, "ChannelLost  ErrorCode=4097\n");
    EXPECT_EQ(trader.Calls()[2].name, "ChannelLost");
    EXPECT_EQ(trader.Calls()[2].key, "channel disconnect");
    const TYqOrder order = Order("");
    EXPECT_EQ(trader.ReqYqOrder(&order, nullptr), -1);
    TYqFrznElctIndenture indenture{};
    EXPECT_EQ(trader.ReqYqOrder(&order, &indenture), -1);

    // A new login connects again.
    LogIn(trader, "20261208");
    ASSERT_TRUE(trader.WaitForCalls(4));
}

// A trader whose reactor the test reaches, to keep its event ring full.
class CFullRingTrader : public CRecordingTrader {
public:
    CReactor& Reactor() { return *m_pState->reactor; }
};

TEST_F(ApiSession, AChannelLossUnderAFullEventRingIsToldOnce) {
    CFullRingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    LogIn(trader, "20261208");
    ASSERT_TRUE(trader.WaitForCalls(1));
    CCollectedLog log;
    SetLogSink(&CCollectedLog::Sink, &log);
    CRingFiller filler(trader.Reactor());
    filler.Start();
    m_exchange.CloseConnection();
    const bool told = trader.WaitForCalls(2);
    filler.Stop();
    // Synchronous calls do not go through the ring: once one has run twice, the passes after the
    // loss have run too, and nothing more is told.
    RunOnReactor(trader.Reactor(), [] { return 0; });
    RunOnReactor(trader.Reactor(), [] { return 0; });
    trader.Reactor().RemoveEvents(&filler);
    SetLogSink(nullptr, nullptr);
    ASSERT_TRUE(told) << "the loss was never told";
    ASSERT_EQ(trader.Calls().size(), 2u);
    EXPECT_EQ(trader.Calls()[1].name, "ChannelLost");
    const std::vector<std::pair<LogLevel, std::string>> expected = {{LogLevel::kError, "ChannelLost  ErrorCode=4097"}};
    EXPECT_EQ(log.Messages(), expected);
    EXPECT_EQ(RunOnReactor(trader.Reactor(), [&] { return static_cast<int>(trader.Reactor().GetSessionCount()); }), 0);
}

TEST_F(ApiSession, RequestsFromManyThreadsKeepEachThreadsOrder) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    LogIn(trader, "20261208");
    constexpr int kThreads = 4, kEach = 50;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) {
                TYqOrder order = Order("");
                std::snprintf(order.orderNo, sizeof order.orderNo, "%d-%d", t, i);
                TYqFrznElctIndenture indenture{};
                EXPECT_EQ(trader.ReqYqOrder(&order, &indenture), 0);
            }
        });
    }
    for (std::thread& sender : senders) sender.join();
    std::vector<int> next(kThreads, 0);
    for (int n = 0; n < kThreads * kEach; ++n) {
        auto received = m_exchange.Receive();
        ASSERT_TRUE(received.has_value()) << n;
        TYqOrder order{};
        ASSERT_TRUE(received->package->GetRecord(order));
        int t = 0, i = 0;
        ASSERT_EQ(std::sscanf(order.orderNo, "%d-%d", &t, &i), 2);
        EXPECT_EQ(i, next[t]++);
    }
}

TEST_F(ApiSession, DestroyingTheApiDuringTrafficIsSafe) {
    auto trader = std::make_unique<CRecordingTrader>();
    ASSERT_EQ(trader->initApi(), 0);
    LogIn(*trader, "20261208");
    std::thread flood([&] {
        for (std::uint32_t n = 1; n <= 2000 && m_exchange.HasConnection(); ++n)
            SendOrderReturn(m_exchange, n, std::to_string(n).c_str());
    });
    ASSERT_TRUE(trader->WaitForCalls(10));
    trader.reset();
    flood.join();
    EXPECT_TRUE(m_exchange.WaitForClientClose());
}

TEST_F(ApiSession, BrokenStreamsEndTheSessionWithTheirEventCodes) {
    struct Case {
        std::vector<std::uint8_t> bytes;
        const char* printed;
    };
    // A frame longer than 4096 bytes; a package whose ContentLength disagrees with its length.
    std::vector<std::uint8_t> badPackage = {1, 0, 0, 57};
    badPackage.resize(4 + 57, 0);
    badPackage[4 + 3] = 9;  // ContentLength 9 instead of 1
    const Case cases[] = {{{1, 0, 0x13, 0x88}, "ChannelLost  ErrorCode=8195\n"},
                          {badPackage, "Length()-XTPHLEN=1 m_XTPHeader.ContentLength=9\nChannelLost  ErrorCode=12289\n"}};
    for (const Case& broken : cases) {
        CRecordingTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        LogIn(trader, "20261208");
        ASSERT_TRUE(trader.WaitForCalls(1));
        testing::internal::CaptureStdout();
        m_exchange.SendBytes(broken.bytes.data(), broken.bytes.size());
        ASSERT_TRUE(trader.WaitForCalls(2));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), broken.printed);
        EXPECT_EQ(trader.Calls()[1].name, "ChannelLost");
        EXPECT_TRUE(m_exchange.WaitForClientClose());
        m_exchange.CloseConnection();
    }
}

// A host that batches its callbacks hears once per reactor pass that made any: after a login
// and its replay of the day, and after a lone live package.
TEST_F(ApiSession, TheEndOfEachPassOfCallbacksIsToldOnce) {
    {
        CRecordingTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        LogIn(trader, "20261208");
        for (std::uint32_t n = 1; n <= 3; ++n) SendOrderReturn(m_exchange, n, std::to_string(n).c_str());
        ASSERT_TRUE(trader.WaitForCalls(4));
    }
    m_exchange.CloseConnection();
    struct CBatchEnds {
        CRecordingTrader* trader;
        std::vector<std::size_t> callsAtEnd;
        std::mutex mutex;
    } ends;
    CRecordingTrader again;
    ends.trader = &again;
    again.SetCallbackBatchEnd(
        [](void* context) {
            auto* batches = static_cast<CBatchEnds*>(context);
            std::lock_guard lock(batches->mutex);
            batches->callsAtEnd.push_back(batches->trader->Calls().size());
        },
        &ends);
    ASSERT_EQ(again.initApi(), 0);
    LogIn(again, "20261208");
    ASSERT_TRUE(again.WaitForCalls(4));  // the login and the three replayed returns
    SendOrderReturn(m_exchange, 4, "4");
    ASSERT_TRUE(again.WaitForCalls(5));
    again.stopApi();
    std::lock_guard lock(ends.mutex);
    EXPECT_EQ(ends.callsAtEnd, (std::vector<std::size_t>{4, 5}));
}
