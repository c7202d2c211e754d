// The public umbrella header must compile on its own, before anything else is included, and be
// the only header a client needs: the names of every public header are used here through it
// alone, and a client must be able to derive from both API classes and override their callbacks.
#include "quorex/quorex.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "api/SourceTree.h"

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

TEST(UmbrellaHeader, DeclaresTextsLogRoutingDigestsFileNamesAndTheVersion) {
    TYqOrder order{};
    quorex::SetText(order.instID, "LW2601");                         // Text.h
    EXPECT_EQ(quorex::TextOf(order.instID), "LW2601");
    EXPECT_EQ(quorex::GbkToUtf8(quorex::Utf8ToGbk("钢材")), "钢材");
    quorex::SetLogSink(quorex::DiscardLog, nullptr);                 // Log.h
    quorex::SetLogSink(nullptr, nullptr);
    EXPECT_NE(quorex::LogLevel::kDiagnostic, quorex::LogLevel::kError);
    EXPECT_EQ(quorex::PasswordDigest("").size(), 32u);               // PasswordDigest.h
    EXPECT_EQ(quorex::UserFileName("T_CLOCK%s.dat", "a/b"), "T_CLOCKa%2Fb.dat");  // UserFiles.h
    EXPECT_STRNE(QUOREX_VERSION, "");                                // Version.h
    EXPECT_STREQ(CDesignError("m", "f", 1).GetMessage(), "m");       // Errors.h
}

// A header added to include/quorex/ but not to the umbrella fails here.
TEST(UmbrellaHeader, IncludesEveryPublicHeader) {
    namespace fs = std::filesystem;
    const fs::path headers = quorex::test::SourceTreeOf(__FILE__) / "include" / "quorex";
    const std::string umbrella = quorex::test::FileText(headers / "quorex.h");
    ASSERT_NE(umbrella, "") << headers;
    int checked = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(headers)) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".h" || name == "quorex.h") continue;
        EXPECT_NE(umbrella.find("#include \"quorex/" + name + "\""), std::string::npos) << name;
        ++checked;
    }
    EXPECT_GE(checked, 8);
}
