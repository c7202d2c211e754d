// exchange-sim killed (SIGKILL) at random moments of a burst of two traders whose orders match,
// so that its passes write the journal and several flows together, and started again on the same
// folder after every kill: each start carries on with the day, every answered order is kept once
// with its local number, and the day's orders stay numbered without a gap.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "ApiTrader.h"
#include "SimProcess.h"

namespace quorex::sim::test {
namespace {

namespace fs = std::filesystem;

struct CBurstTrader {
    const char* id;
    const char* password;
    char side;
};
// One buys and one sells at one price, so that most orders match.
constexpr CBurstTrader kTraders[] = {{"00010001", "trader1", 'b'}, {"00020001", "trader3", 's'}};
constexpr int kKills = 3;
constexpr int kOrdersPerTrader = 600;

class SimProcessKillTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void SetUp() override {
        quorex::test::CWorkingDirectoryTest::SetUp();
        if (!fs::exists(ExchangeSimProgram())) GTEST_SKIP() << ExchangeSimProgram() << " is not built";
    }
    static std::unique_ptr<CSimProcess> Start() {
        return std::make_unique<CSimProcess>(
            ExchangeSimProgram(), std::vector<std::string>{"--trade-date", "20260105", "--data-dir", "day", "--quiet"});
    }
};

bool IsOrderAnswer(const CCall& call) { return call.name == "RspYqOrder"; }

TEST_F(SimProcessKillTest, EveryStartAfterAKillAtARandomMomentOfABurstCarriesOnWithEveryAnsweredOrder) {
    std::mt19937 random(20260105);
    std::map<std::string, std::string> answered;  // order number -> local order number
    for (int kill = 0; kill < kKills; ++kill) {
        SCOPED_TRACE("before kill " + std::to_string(kill + 1));
        auto simulator = Start();
        ASSERT_NE(simulator->port, 0) << simulator->firstLine;
        std::vector<std::unique_ptr<CApiTrader>> traders;
        std::vector<long long> lastLocal;
        for (const CBurstTrader& burst : kTraders) {
            traders.push_back(std::make_unique<CApiTrader>());
            ASSERT_TRUE(traders.back()->LogIn(simulator->port, burst.id, burst.password));
            // Local numbers go on from the last one the day kept.
            lastLocal.push_back(std::stoll(traders.back()->log.Calls().front().key));
        }
        // Both traders' orders reach the simulator together.
        for (int i = 1; i <= kOrdersPerTrader; ++i) {
            for (std::size_t t = 0; t < traders.size(); ++t) {
                const CBurstTrader& burst = kTraders[t];
                const TYqOrder order =
                    CExchangeHarness::Order(burst.id, burst.id, "000001", burst.side, 3500, 1, lastLocal[t] + i);
                ASSERT_EQ(traders[t]->ReqYqOrderEx(&order, kNoIndentures), 0);
            }
        }
        const int killAfter = std::uniform_int_distribution<int>(1, kOrdersPerTrader / 2)(random);
        ASSERT_TRUE(traders.front()->log.WaitForCount(killAfter, IsOrderAnswer));
        simulator->Kill();
        for (const auto& trader : traders) {
            ASSERT_TRUE(trader->log.WaitFor("ChannelLost"));
            for (const CCall& call : trader->log.Calls()) {
                if (call.name != "RspYqOrderLocal") continue;
                EXPECT_EQ(call.code, "RSP000000") << call.key;
                answered[call.key.substr(0, 14)] = call.key.substr(15);
            }
        }
    }

    auto simulator = Start();
    ASSERT_NE(simulator->port, 0) << simulator->firstLine;
    std::map<std::string, std::string> stored;
    for (const CBurstTrader& burst : kTraders) {
        CApiTrader trader;
        ASSERT_TRUE(trader.LogIn(simulator->port, burst.id, burst.password));
        TReqQryOrder everything{};
        ASSERT_EQ(trader.ReqQryYqOrder(&everything), 0);
        ASSERT_TRUE(trader.log.WaitFor("QryYqOrderEnd"));
        for (const CCall& call : trader.log.Calls()) {
            if (call.name != "QryYqOrder" || call.key.empty()) continue;
            EXPECT_TRUE(stored.emplace(call.key.substr(0, 14), call.key.substr(15)).second)
                << "listed twice: " << call.key;
        }
    }
    ASSERT_GE(stored.size(), answered.size());
    for (const auto& [orderNo, local] : answered) {
        ASSERT_TRUE(stored.contains(orderNo)) << orderNo << " was answered and then lost";
        EXPECT_EQ(stored[orderNo], local) << orderNo;
    }
    int sequence = 0;
    for (const auto& entry : stored) EXPECT_EQ(std::stoi(entry.first.substr(6)), ++sequence) << entry.first;
    RecordProperty("answered", static_cast<int>(answered.size()));
    RecordProperty("kept", static_cast<int>(stored.size()));
}

}  // namespace
}  // namespace quorex::sim::test
