// The library against a simulator that is restarted on the same trading day: clients keep their
// sync files and resume, and they get every package of the day exactly once, with the day's
// numbers, whether the simulator stopped cleanly or was killed in the middle of a burst.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ApiTrader.h"
#include "SimProcess.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Duplicates(const std::vector<std::string>& deliveries) {
    std::set<std::string> seen;
    std::vector<std::string> twice;
    for (const std::string& delivery : deliveries) {
        if (!seen.insert(delivery).second) twice.push_back(delivery);
    }
    return twice;
}

bool Contains(const std::vector<std::string>& deliveries, const std::string& delivery) {
    return std::find(deliveries.begin(), deliveries.end(), delivery) != deliveries.end();
}

TEST_F(SimEndToEndTest, ARestartedSimulatorCarriesOnWithTheDayAndResumedClientsMissNothing) {
    CServerOptions options;
    options.dataDir = (fs::current_path() / "day").string();
    StartServer(options);
    std::vector<std::string> firstRun;
    {
        CApiTrader buyer, seller;
        ASSERT_TRUE(buyer.LogIn(server->Port(), "00010001", "trader1"));
        ASSERT_TRUE(seller.LogIn(server->Port(), "00020001", "trader3"));
        const TYqOrder buy = OrderOf("00010001", 'b', 3500, 3, 1);
        buyer.ReqYqOrderEx(&buy, kNoIndentures);
        ASSERT_TRUE(buyer.log.WaitFor("YqQuotation", "000001/1/"));
        const TYqOrder sell = OrderOf("00020001", 's', 3500, 1, 1);
        seller.ReqYqOrderEx(&sell, kNoIndentures);
        ASSERT_TRUE(buyer.log.WaitFor("RtnYqOrder", "26010500000001/p/2"));
        ASSERT_TRUE(buyer.log.WaitFor("YqQuotation", "000001/2/3500"));
        firstRun = Sequenced(buyer.log.Calls());
    }
    StartServer(options);  // the same day, from its folder

    CApiTrader buyer, seller;
    ASSERT_TRUE(buyer.LogIn(server->Port(), "00010001", "trader1"));
    ASSERT_TRUE(seller.LogIn(server->Port(), "00020001", "trader3"));
    const TYqOrder sell = OrderOf("00020001", 's', 3500, 1, 2);
    seller.ReqYqOrderEx(&sell, kNoIndentures);
    // The third order of the day and its second match, not a second "first" of either.
    ASSERT_TRUE(seller.log.WaitFor("RspYqOrder", "26010500000003"));
    ASSERT_TRUE(buyer.log.WaitFor("RtnYqMatch", "2601050000000002/b/1"));
    ASSERT_TRUE(buyer.log.WaitFor("RtnYqOrder", "26010500000001/p/1"));
    ASSERT_TRUE(buyer.log.WaitFor("YqQuotation", "000001/3/3500"));

    const std::vector<CCall> calls = buyer.log.Calls();
    const auto referenceData = std::find_if(calls.begin(), calls.end(), [](const CCall& call) { return call.name == "MarketInfo"; });
    const std::vector<std::string> replayed = Sequenced({calls.begin(), referenceData});
    const std::vector<std::string> all = Sequenced(calls);
    EXPECT_EQ(replayed, firstRun);
    EXPECT_TRUE(Duplicates(all).empty()) << Duplicates(all).front();
    // Six from the first run, and three new ones: the match, the order return, the quotation.
    EXPECT_EQ(all.size(), firstRun.size() + 3) << ::testing::PrintToString(all);
    EXPECT_EQ(calls.front().name, "Login");
    EXPECT_EQ(calls.front().key, "00000000000001");  // the trader's last local order number
}

class SimProcessRestartTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        if (!fs::exists(ExchangeSimProgram())) GTEST_SKIP() << ExchangeSimProgram() << " is not built";
    }
    std::unique_ptr<CSimProcess> Start() {
        return std::make_unique<CSimProcess>(ExchangeSimProgram(),
                                             std::vector<std::string>{"--trade-date", "20260105", "--data-dir", "day", "--quiet"});
    }
};

TEST_F(SimProcessRestartTest, AKillInTheMiddleOfABurstLosesNoAnsweredOrderAndRenumbersNothing) {
    constexpr int kOrders = 1000;
    std::map<std::string, std::string> answered;  // order number -> local order number
    {
        auto simulator = Start();
        ASSERT_NE(simulator->port, 0) << simulator->firstLine;
        CApiTrader trader;
        ASSERT_TRUE(trader.LogIn(simulator->port, "00010001", "trader1"));
        for (int i = 1; i <= kOrders; ++i) {
            const TYqOrder order = CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400 - 5 * (i % 20), 1, i);
            ASSERT_EQ(trader.ReqYqOrderEx(&order, kNoIndentures), 0);
        }
        // Killed once some of the burst has been answered, while the rest is still arriving.
        ASSERT_TRUE(trader.log.WaitForCount(kOrders / 10, [](const CCall& call) { return call.name == "RspYqOrder"; }));
        simulator->Kill();
        ASSERT_TRUE(trader.log.WaitFor("ChannelLost"));
        for (const CCall& call : trader.log.Calls()) {
            if (call.name != "RspYqOrderLocal") continue;
            EXPECT_EQ(call.code, "RSP000000");
            answered[call.key.substr(0, 14)] = call.key.substr(15);
        }
    }
    ASSERT_GE(answered.size(), static_cast<std::size_t>(kOrders / 10));

    auto simulator = Start();
    ASSERT_NE(simulator->port, 0) << simulator->firstLine;
    CApiTrader trader;
    ASSERT_TRUE(trader.LogIn(simulator->port, "00010001", "trader1"));
    TReqQryOrder everything{};
    ASSERT_EQ(trader.ReqQryYqOrder(&everything), 0);
    ASSERT_TRUE(trader.log.WaitFor("QryYqOrderEnd"));

    std::map<std::string, std::string> stored;
    for (const CCall& call : trader.log.Calls()) {
        if (call.name != "QryYqOrder" || call.key.empty()) continue;
        EXPECT_TRUE(stored.emplace(call.key.substr(0, 14), call.key.substr(15)).second) << "listed twice: " << call.key;
    }
    // Every answered order is there once with its number; the day's orders are numbered 1..n in
    // the order of their local numbers, so nothing was renumbered.
    for (const auto& [orderNo, local] : answered) {
        ASSERT_TRUE(stored.contains(orderNo)) << orderNo;
        EXPECT_EQ(stored[orderNo], local) << orderNo;
    }
    int sequence = 0;
    for (const auto& [orderNo, local] : stored) {
        ++sequence;
        EXPECT_EQ(std::stoi(orderNo.substr(6)), sequence);
        EXPECT_EQ(std::stoll(local), sequence);
    }
    // Each kept order's return reached the client exactly once, before or after the kill.
    EXPECT_TRUE(trader.log.WaitForCount(stored.size(), [](const CCall& call) { return call.name == "RtnYqOrder"; }));
    const std::vector<std::string> deliveries = Sequenced(trader.log.Calls());
    EXPECT_TRUE(Duplicates(deliveries).empty()) << Duplicates(deliveries).front();
    for (const auto& [orderNo, local] : stored) EXPECT_TRUE(Contains(deliveries, "RtnYqOrder " + orderNo + "/o/1")) << orderNo;
    std::printf("kill -9 after %zu of %d orders were answered; %zu orders kept, %zu sequenced packages delivered once each\n",
                answered.size(), kOrders, stored.size(), deliveries.size());
    RecordProperty("answered", static_cast<int>(answered.size()));
    RecordProperty("kept", static_cast<int>(stored.size()));
}

TEST_F(SimProcessRestartTest, ADamagedDayIsRefusedWithTheFileNamedAndAFailingExitCode) {
    {
        auto simulator = Start();
        ASSERT_NE(simulator->port, 0) << simulator->firstLine;
        CApiTrader trader;
        ASSERT_TRUE(trader.LogIn(simulator->port, "00010001", "trader1"));
        const TYqOrder order = CExchangeHarness::Order("00010001", "00010001", "000001", 'b', 3400, 1, 1);
        trader.ReqYqOrderEx(&order, kNoIndentures);
        ASSERT_TRUE(trader.log.WaitFor("RtnYqOrder"));
    }
    {
        std::ofstream flow("day/private-00010001.con", std::ios::binary | std::ios::trunc);
        flow << "not a flow at all";
    }
    auto simulator = Start();
    EXPECT_EQ(simulator->port, 0);
    EXPECT_NE(simulator->firstLine.find("exchange-sim: day/private-00010001.con: record 0 claims"), std::string::npos)
        << simulator->firstLine;
    EXPECT_EQ(simulator->Wait(), 1);
}

TEST_F(SimProcessRestartTest, ARefusedStartExitsWithTheCauseAndLeavesTheFolderAsItWas) {
    // An address this machine does not have: found before the day's folder is made.
    {
        CSimProcess simulator(ExchangeSimProgram(), {"--host", "192.0.2.1", "--data-dir", "day", "--quiet"});
        EXPECT_EQ(simulator.port, 0);
        EXPECT_NE(simulator.firstLine.find("exchange-sim: cannot listen on 192.0.2.1:0: "), std::string::npos) << simulator.firstLine;
        EXPECT_EQ(simulator.Wait(), 1);
        EXPECT_FALSE(fs::exists("day"));
    }
    fs::create_directory("day");
    { std::ofstream empty("day/day.txt"); }
    auto simulator = Start();
    EXPECT_EQ(simulator->port, 0);
    EXPECT_NE(simulator->firstLine.find("exchange-sim: day/day.txt: is empty"), std::string::npos) << simulator->firstLine;
    EXPECT_EQ(simulator->Wait(), 1);
    EXPECT_EQ(std::distance(fs::directory_iterator("day"), fs::directory_iterator()), 1);
}

}  // namespace
}  // namespace quorex::sim::test
