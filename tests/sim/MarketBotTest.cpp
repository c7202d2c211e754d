// The market bot against the exchange directly: it subscribes beyond its flows on purpose without
// being reported as a stale client, and it carries on with the day after a restart.
#include <gtest/gtest.h>

#include "ExchangeHarness.h"
#include "api/ApiTestSupport.h"
#include "sim/MarketBot.h"
#include "public/PackageTypes.h"

namespace quorex::sim::test {
namespace {

constexpr SessionId kBot = 0;

// Steps of the bot, each in a pass of its own, as the server's timer drives it.
void Steps(CExchangeHarness& harness, CMarketBot& bot, int steps) {
    for (int i = 0; i < steps; ++i) {
        bot.Step();
        harness.exchange->EndPass();
    }
}

// The bot's order answers since the last call, by result code.
std::map<std::string, int> OrderAnswers(CExchangeHarness& harness) {
    std::map<std::string, int> codes;
    for (const CReceived& answer : OfType(harness.TakeDialog(kBot), tid::RspYqOrder)) ++codes[answer.RspCode()];
    return codes;
}

TEST(MarketBotTest, ItsSubscriptionAtTheFlowsEndsIsNotReportedAsStale) {
    CExchangeHarness harness;
    CMarketBot bot(*harness.exchange, kBot, 1);
    bot.Step();
    EXPECT_TRUE(harness.exchange->IsLoggedIn(kBot));
    EXPECT_TRUE(harness.output.staleSeries.empty());
}

class MarketBotRestartTest : public quorex::test::CWorkingDirectoryTest {};

TEST_F(MarketBotRestartTest, AfterARestartItsOrdersAreStillTaken) {
    std::size_t ordersBefore = 0;
    {
        CExchangeHarness harness(DemoDayToml(), "day");
        CMarketBot bot(*harness.exchange, kBot, 7);
        Steps(harness, bot, 60);
        ordersBefore = harness.exchange->OrderCount();
        ASSERT_GT(ordersBefore, 10u);
        EXPECT_EQ(OrderAnswers(harness).count("ERR001006"), 0u);
    }
    CExchangeHarness harness(DemoDayToml(), "day");
    ASSERT_EQ(harness.exchange->OrderCount(), ordersBefore);
    CMarketBot bot(*harness.exchange, kBot, 7);
    Steps(harness, bot, 60);
    const std::map<std::string, int> answers = OrderAnswers(harness);
    EXPECT_EQ(answers.count("ERR001006"), 0u) << "local order numbers started again";
    EXPECT_GT(harness.exchange->OrderCount(), ordersBefore);
}

}  // namespace
}  // namespace quorex::sim::test
