// The API's own diagnostics reach a host's sink with their levels, from the caller's thread and
// from the reactor thread, and nothing of them reaches standard output meanwhile.
#include <cstring>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "api/ApiTestSupport.h"
#include "api/FakeExchange.h"
#include "public/LoopbackSockets.h"
#include "quorex/Log.h"
#include "public/CollectedLog.h"

using namespace quorex;
using namespace quorex::test;

namespace {

class LogSinkApi : public CWorkingDirectoryTest {
protected:
    void SetUp() override {
        CWorkingDirectoryTest::SetUp();
        SetLogSink(&CCollectedLog::Sink, &log);
    }
    void TearDown() override {
        SetLogSink(nullptr, nullptr);
        CWorkingDirectoryTest::TearDown();
    }
    CCollectedLog log;
    CFakeExchange exchange;
};

}  // namespace

TEST_F(LogSinkApi, FailedConnectionsRepeatedLoginsAndALostSessionGoToTheSink) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    std::uint16_t closedPort;
    {
        CLoopbackListener listener;
        closedPort = listener.Port();
    }
    trader.SetService("127.0.0.1", closedPort);
    trader.SetService("127.0.0.1", exchange.Port());
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "T001");
    std::strcpy(login.memberID, "0001");

    testing::internal::CaptureStdout();
    EXPECT_EQ(trader.ReqTraderLogin(&login), 0);
    EXPECT_EQ(trader.ReqTraderLogin(&login), -2);
    ASSERT_TRUE(exchange.Accept());
    ASSERT_TRUE(exchange.Receive().has_value());
    exchange.CloseConnection();
    ASSERT_TRUE(trader.WaitForCalls(1));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "");

    const std::vector<std::pair<LogLevel, std::string>> expected = {
        {LogLevel::kError, "connect Fialed!!"},
        {LogLevel::kDiagnostic, "已经登录"},
        {LogLevel::kError, "ChannelLost  ErrorCode=4097"},
    };
    EXPECT_EQ(log.Messages(), expected);
    EXPECT_EQ(trader.Calls()[0].name, "ChannelLost");
}
