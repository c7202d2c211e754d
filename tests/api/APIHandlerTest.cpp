#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "api/APIHandler.h"
#include "public/PackageTypes.h"
#include "quorex/Errors.h"
#include "quorex/Text.h"

using namespace quorex;

namespace {

struct Call {
    std::string callback;
    bool hasRecord;
    char chainFlag;
    std::string code, message, requestId, key;
};

// A trader that writes down every callback it gets.
class RecordingTrader : public CTraderApi {
public:
    std::vector<Call> calls;
    void onRecvRspQryYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override {
        Note("QryYqOrder", order != nullptr, rsp, requestId, order ? order->orderNo : "");
    }
    void onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg* rsp, const char* requestId) override {
        Note("RtnYqMatch", match != nullptr, rsp, requestId, match ? match->matchNo : "");
    }
    void onRecvRspQryYqMemberPosi(const TYqMemberPosi* posi, const TTRspMsg* rsp, const char* requestId) override {
        Note("QryYqMemberPosi", posi != nullptr, rsp, requestId, posi ? posi->instID : "");
    }
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char* requestId) override {
        Note("TraderLogin", login != nullptr, rsp, requestId, login ? login->tradeDate : "");
    }
    void onRecvSysErrorNtf(const TTRspMsg* rsp) override { Note("SysError", false, rsp, nullptr, ""); }
    void onRecvReqSendOver() override { calls.push_back({"SendOver", false, 0, "", "", "", ""}); }

private:
    void Note(const char* name, bool hasRecord, const TTRspMsg* rsp, const char* requestId, const char* key) {
        calls.push_back({name, hasRecord, rsp->ChainFlag, rsp->RspCode, quorex::TextOf(rsp->RspMsg),
                         requestId ? requestId : "(null)", key});
    }
};

class FakeContext : public CDispatchContext {
public:
    ETradingDay day = ETradingDay::kNew;
    std::vector<std::string> events;
    ETradingDay BeginTradingDay(const char* tradeDate, const char* userId, TTRspMsg& failure) override {
        events.push_back(std::string("day ") + tradeDate + " " + userId);
        if (day == ETradingDay::kFailed) {
            std::strcpy(failure.RspCode, "ERR999998");
            std::strcpy(failure.RspMsg, "file");
        }
        return day;
    }
    void AbandonSession() override { events.push_back("abandon after " + std::to_string(callsSoFar())); }
    void ReplayReceivedLog() override { events.push_back("replay after " + std::to_string(callsSoFar())); }
    std::function<std::size_t()> callsSoFar = [] { return std::size_t{0}; };
    void AcknowledgeStandardData() override { events.push_back("ack"); }
};

// A received package: built, given its wire header, then parsed from the bytes.
class Incoming {
public:
    explicit Incoming(std::uint32_t tid, char chain = 'S', const char* rootId = "q7") {
        m_built.Prepare(tid);
        m_built.SetRootID(rootId);
        m_built.m_XTPHeader.Chain = chain;
    }
    template <class Record>
    Incoming& Add(const Record& record) {
        EXPECT_TRUE(m_built.AddRecord(record));
        return *this;
    }
    Incoming& Response(const char* code, const char* message) {
        TTRspMsg rsp{};
        std::strcpy(rsp.RspCode, code);
        std::strcpy(rsp.RspMsg, message);
        return Add(rsp);
    }
    const CXTPPackage& Parsed() {
        m_built.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(m_built.Length());
        EXPECT_TRUE(m_built.PrependHeader(m_built.m_XTPHeader));
        m_parsed.ViewOf(m_built);
        EXPECT_GT(m_parsed.Parse(), 0);
        return m_parsed;
    }

private:
    CXTPPackage m_built, m_parsed;
};

TYqOrder Order(const char* orderNo) {
    TYqOrder order{};
    std::strcpy(order.orderNo, orderNo);
    return order;
}

}  // namespace

TEST(Dispatch, ResponseRecordsCarryChainFlagsAndTheRequestId) {
    RecordingTrader trader;
    FakeContext context;
    // Fields of one ID are prepended, so the package order is the reverse of the adding order.
    Incoming first(tid::RspQryYqOrder, 'N');
    first.Add(Order("2")).Add(Order("1")).Response("RSP000000", "ok");
    ASSERT_TRUE(DispatchPackage(trader, context, first.Parsed()));
    Incoming last(tid::RspQryYqOrder, 'L');
    last.Add(Order("3")).Response("RSP000000", "ok");
    ASSERT_TRUE(DispatchPackage(trader, context, last.Parsed()));
    ASSERT_EQ(trader.calls.size(), 3u);
    EXPECT_EQ(trader.calls[0].key, "1");
    EXPECT_EQ(trader.calls[1].key, "2");
    EXPECT_EQ(trader.calls[2].key, "3");
    EXPECT_EQ(std::string(1, trader.calls[0].chainFlag) + trader.calls[1].chainFlag + trader.calls[2].chainFlag, "CCL");
    for (const Call& call : trader.calls) {
        EXPECT_EQ(call.requestId, "q7");
        EXPECT_EQ(call.code, "RSP000000");
    }

    trader.calls.clear();
    Incoming single(tid::RspQryYqOrder, 'S');
    single.Add(Order("c")).Add(Order("b")).Add(Order("a")).Response("RSP000000", "ok");
    DispatchPackage(trader, context, single.Parsed());
    EXPECT_EQ(std::string(1, trader.calls[0].chainFlag) + trader.calls[1].chainFlag + trader.calls[2].chainFlag, "CCL");
}

TEST(Dispatch, ResponsesWithoutRecordsRefusalsAndMissingResponseFields) {
    RecordingTrader trader;
    FakeContext context;
    Incoming empty(tid::RspQryYqOrder, 'N');
    empty.Response("RSP000000", "nothing today");
    DispatchPackage(trader, context, empty.Parsed());
    Incoming refused(tid::RspQryYqOrder);
    refused.Add(Order("1")).Response("ERR000123", "refused");
    DispatchPackage(trader, context, refused.Parsed());
    Incoming broken(tid::RspQryYqOrder);
    broken.Add(Order("1"));
    DispatchPackage(trader, context, broken.Parsed());

    ASSERT_EQ(trader.calls.size(), 3u);
    EXPECT_FALSE(trader.calls[0].hasRecord);
    EXPECT_EQ(trader.calls[0].chainFlag, 'O');
    EXPECT_EQ(trader.calls[0].message, "nothing today");
    EXPECT_EQ(trader.calls[0].requestId, "(null)");
    EXPECT_FALSE(trader.calls[1].hasRecord);
    EXPECT_EQ(trader.calls[1].code, "ERR000123");
    EXPECT_EQ(trader.calls[1].requestId, "(null)");
    EXPECT_FALSE(trader.calls[2].hasRecord);
    EXPECT_EQ(trader.calls[2].code, "ERR999999");
    EXPECT_EQ(trader.calls[2].message, "无响应域，通讯包错误");
}

TEST(Dispatch, DeliveriesWithAndWithoutRecords) {
    RecordingTrader trader;
    FakeContext context;
    TYqMatch match{};
    std::strcpy(match.matchNo, "M1");
    Incoming withRecord(tid::RtnYqMatch);
    withRecord.Add(match);
    DispatchPackage(trader, context, withRecord.Parsed());
    Incoming withoutRecord(tid::RtnYqMatch);
    DispatchPackage(trader, context, withoutRecord.Parsed());
    ASSERT_EQ(trader.calls.size(), 2u);
    EXPECT_EQ(trader.calls[0].key, "M1");
    EXPECT_EQ(trader.calls[0].code, "RSP000000");
    EXPECT_EQ(trader.calls[0].message, "交易成功");
    EXPECT_EQ(trader.calls[0].chainFlag, 'L');
    EXPECT_EQ(trader.calls[1].chainFlag, 'O');
    EXPECT_EQ(trader.calls[1].code, "ERR999999");
    EXPECT_EQ(trader.calls[1].message, "无数据");
}

TEST(Dispatch, SharedFieldIdsDecodeWithTheCallbacksLayout) {
    RecordingTrader trader;
    FakeContext context;
    TYqMemberPosi posi{};
    std::strcpy(posi.instID, "HR0612");
    posi.DelvryFrozen = 7;
    Incoming package(tid::RspQryYqMemberPosi);
    package.Add(posi).Response("RSP000000", "");
    DispatchPackage(trader, context, package.Parsed());
    ASSERT_EQ(trader.calls.size(), 1u);
    EXPECT_EQ(trader.calls[0].key, "HR0612");
}

TEST(Dispatch, SpecialPackages) {
    RecordingTrader trader;
    FakeContext context;
    TSysError error{};
    std::strcpy(error.RspCode, "SYS0001");
    std::strcpy(error.RspMsg, "halt");
    Incoming systemError(tid::NtfSysError);
    systemError.Add(error);
    EXPECT_TRUE(DispatchPackage(trader, context, systemError.Parsed()));
    Incoming emptyError(tid::NtfSysError);
    EXPECT_TRUE(DispatchPackage(trader, context, emptyError.Parsed()));
    Incoming sendOver(tid::ReqStandardDataSendOver);
    EXPECT_TRUE(DispatchPackage(trader, context, sendOver.Parsed()));
    Incoming init(tid::ReqSysInit);
    testing::internal::CaptureStdout();
    EXPECT_TRUE(DispatchPackage(trader, context, init.Parsed()));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Rcv Sys_INIT_PACKAGE!!!!!\n");
    Incoming unhandled(tid::ModifyMember);
    EXPECT_FALSE(DispatchPackage(trader, context, unhandled.Parsed()));

    ASSERT_EQ(trader.calls.size(), 2u);
    EXPECT_EQ(trader.calls[0].callback, "SysError");
    EXPECT_EQ(trader.calls[0].code, "SYS0001");
    EXPECT_EQ(trader.calls[1].callback, "SendOver");
    EXPECT_EQ(context.events, std::vector<std::string>{"ack"});
}

TEST(Dispatch, LoginResponses) {
    RecordingTrader trader;
    FakeContext context;
    context.callsSoFar = [&] { return trader.calls.size(); };
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "T1");
    std::strcpy(login.tradeDate, "20261208");

    Incoming refused(tid::RspTraderLogin);
    refused.Response("ERR000001", "bad password");
    DispatchPackage(trader, context, refused.Parsed());
    ASSERT_EQ(trader.calls.size(), 1u);
    EXPECT_TRUE(trader.calls[0].hasRecord);  // a zero record stands in for the missing one
    EXPECT_EQ(trader.calls[0].key, "");
    EXPECT_EQ(trader.calls[0].requestId, "(null)");
    EXPECT_EQ(trader.calls[0].chainFlag, 'L');
    // Let go before the callback, so that a retry from inside it may log in.
    EXPECT_EQ(context.events, std::vector<std::string>{"abandon after 0"});
    context.events.clear();

    context.day = ETradingDay::kResumed;
    Incoming accepted(tid::RspTraderLogin);
    accepted.Add(login).Response("RSP000000", "welcome");
    DispatchPackage(trader, context, accepted.Parsed());
    ASSERT_EQ(trader.calls.size(), 2u);
    EXPECT_EQ(trader.calls[1].key, "20261208");
    EXPECT_EQ(trader.calls[1].requestId, "q7");
    // The login callback comes first, then the day's packages are replayed.
    EXPECT_EQ(context.events, (std::vector<std::string>{"day 20261208 T1", "replay after 2"}));

    // Files that cannot be used turn an accepted login into a failed one, told with their code.
    context.events.clear();
    context.day = ETradingDay::kFailed;
    Incoming unusable(tid::RspTraderLogin);
    unusable.Add(login).Response("RSP000000", "welcome");
    DispatchPackage(trader, context, unusable.Parsed());
    ASSERT_EQ(trader.calls.size(), 3u);
    EXPECT_EQ(trader.calls[2].code, "ERR999998");
    EXPECT_EQ(trader.calls[2].chainFlag, 'L');
    EXPECT_EQ(trader.calls[2].requestId, "(null)");
    EXPECT_EQ(context.events, (std::vector<std::string>{"day 20261208 T1", "abandon after 2"}));

    Incoming noRecord(tid::RspTraderLogin);
    noRecord.Response("RSP000000", "welcome");
    EXPECT_THROW(DispatchPackage(trader, context, noRecord.Parsed()), CRuntimeError);
    Incoming noResponse(tid::RspTraderLogin);
    noResponse.Add(login);
    try {
        DispatchPackage(trader, context, noResponse.Parsed());
        FAIL() << "no error raised";
    } catch (const CRuntimeError& error) {
        EXPECT_STREQ(error.GetMessage(), "无CXTPLoginRspField");
    }
}
