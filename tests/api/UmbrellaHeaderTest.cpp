// The public umbrella header must compile on its own, before anything else is included, and a
// client must be able to derive from both API classes and override their callbacks.
#include "quorex/quorex.h"

#include <gtest/gtest.h>

namespace {

class Trader : public CTraderApi {
public:
    ~Trader() override { stopApi(); }
    void onRecvRtnYqOrder(const TYqOrder*, const TTRspMsg*, const char*) override {}
    using CTraderApi::onRecvIcCardPwd;
    void onRecvIcCardPwd(BYTEARRAY<32>&, short&, short) override {}
};

class Monitor : public CAdminApi {
public:
    ~Monitor() override { stopApi(); }
    void onRecvRspQryYqOrder4M(const TYqOrder*, const TTRspMsg*, const char*) override {}
};

}  // namespace

TEST(UmbrellaHeader, DeclaresTheRecordsAndTheApiClasses) {
    TYqOrder order{};
    order.price = 1.5;
    TTRspMsg response{};
    response.ChainFlag = 'L';
    EXPECT_EQ(sizeof order, 128u);
    EXPECT_EQ(sizeof response.RspCode, 21u);
    EXPECT_EQ(CRuntimeError("m", "f", 3).GetLine(), 3);

    Trader trader;
    Monitor monitor;
    BYTEARRAY<8> date;
    trader.GetTradeDate(date);
    EXPECT_STREQ(date.data(), "");  // no login yet
    EXPECT_EQ(trader.ReqYqOrder(&order, nullptr), -1);
    TReqQryYqOrder4M query{};
    EXPECT_EQ(monitor.ReqQryYqOrder4M(&query), -1);
    EXPECT_EQ(trader.ChgICPasswd("a", "b"), 0);
    for (int i = 0; i < 120; ++i) trader.SetService("127.0.0.1", 1000 + i);
    EXPECT_EQ(trader.m_nServerCount, CApi::kMaxServers);  // calls past the 100th are ignored
}
