// Every row of the callback and request tables, driven from the tables themselves: each package
// type with a callback reaches exactly that callback, and each request method sends its package
// type. ApiTableRowsTest checks the rows themselves against lists typed out apart from the tables.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "api/APIHandler.h"
#include "api/FakeExchange.h"
#include "api/ApiTestSupport.h"

using namespace quorex;
using namespace quorex::test;

namespace {

// A CApi that overrides every callback of slots 5 to 141 and writes down which one ran.
class EveryCallback : public CApi {
public:
    std::vector<std::string> hits;
#define QX_CALLBACK(slot, name, Record, ...)                                              \
    void name(const Record* record, const TTRspMsg* rsp, const char*) override {          \
        hits.push_back(std::string(#name) + (record != nullptr ? " record " : " none ") + \
                       rsp->ChainFlag);                                                  \
    }
#include "quorex/callbacks.def"
#undef QX_CALLBACK
};

class AcceptingContext final : public CDispatchContext {
public:
    ETradingDay BeginTradingDay(const char*, const char*, TTRspMsg&) override { return ETradingDay::kNew; }
    void AbandonSession() override {}
    void ReplayReceivedLog() override {}
    void AcknowledgeStandardData() override {}
};

// A package of tid carrying one Record and, for responses, the success response field.
template <class Record>
void Deliver(CApi& api, std::uint32_t tid, bool withResponse) {
    CXTPPackage built;
    ASSERT_TRUE(built.Prepare(tid));
    ASSERT_TRUE(built.AddRecord(Record{})) << std::hex << tid;
    if (withResponse) {
        TTRspMsg rsp{};
        std::strcpy(rsp.RspCode, "RSP000000");
        ASSERT_TRUE(built.AddRecord(rsp));
    }
    built.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(built.Length());
    ASSERT_TRUE(built.PrependHeader(built.m_XTPHeader));
    CXTPPackage parsed;
    parsed.ViewOf(built);
    ASSERT_GT(parsed.Parse(), 0);
    AcceptingContext context;
    ASSERT_TRUE(DispatchPackage(api, context, parsed));
}

}  // namespace

// One row per callback, built from the table: a row is data and the check below a loop, which
// compiles far faster than the table expanded into assertions.
struct TCallbackCase {
    const char* name;
    std::uint32_t tid;
    bool withResponse;
    void (*deliver)(CApi&, std::uint32_t, bool);
};

const TCallbackCase kCallbackCases[] = {
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) \
    {#name, static_cast<std::uint32_t>(Tid), std::string_view(#kind) != "DELIVERY", &Deliver<Record>},
#include "quorex/callbacks.def"
#undef QX_CALLBACK
};

TEST(ApiTables, EveryPackageTypeReachesItsCallback) {
    EveryCallback api;
    for (const TCallbackCase& row : kCallbackCases) {
        row.deliver(api, row.tid, row.withResponse);
        ASSERT_FALSE(api.hits.empty()) << row.name;
        EXPECT_EQ(api.hits.back(), std::string(row.name) + " record L") << std::hex << row.tid;
        api.hits.clear();
    }
    EXPECT_EQ(std::size(kCallbackCases), 137u);
}

class ApiRequestTable : public CWorkingDirectoryTest {};

TEST_F(ApiRequestTable, EveryRequestMethodSendsItsPackageType) {
    CFakeExchange exchange;
    CTraderApi trader;
    CAdminApi monitor;
    ASSERT_EQ(trader.initApi(), 0);
    ASSERT_EQ(monitor.init(), 0);
    trader.SetService("127.0.0.1", exchange.Port());
    monitor.SetService("127.0.0.1", exchange.Port());
    TReqTraderLogin traderLogin{};
    std::strcpy(traderLogin.traderID, "T9");
    ASSERT_EQ(trader.ReqTraderLogin(&traderLogin), 0);
    ASSERT_TRUE(exchange.Accept());
    ASSERT_TRUE(exchange.Receive().has_value());

    std::vector<std::uint32_t> expected;
    const auto call = [&](int result, std::uint32_t tid) {
        EXPECT_EQ(result, 0) << std::hex << tid;
        expected.push_back(tid);
    };
#define QX_CALL_TRADER(Method, Tid, ...) call(trader.Method(__VA_ARGS__), Tid);
#define QX_CALL_ADMIN(Method, Tid, ...)
#define QX_REQUEST(cls, Method, Tid, Record) \
    {                                        \
        [[maybe_unused]] const Record record{}; \
        QX_CALL_##cls(Method, Tid, &record)  \
    }
#define QX_REQUEST_PAIR(cls, Method, Tid, Record, Second) \
    {                                                     \
        [[maybe_unused]] const Record record{};           \
        [[maybe_unused]] const Second second{};           \
        QX_CALL_##cls(Method, Tid, &record, &second)      \
    }
#define QX_REQUEST_LIST QX_REQUEST_PAIR
#include "quorex/requests.def"
    for (std::uint32_t tid : expected) {
        auto received = exchange.Receive();
        ASSERT_TRUE(received.has_value()) << std::hex << tid;
        EXPECT_EQ(received->package->m_XTPHeader.Tid, tid);
    }
    EXPECT_EQ(expected.size(), 49u);
    trader.stopApi();
    exchange.CloseConnection();

    // The monitor's requests, on a connection of its own.
    TReqUserLogin monitorLogin{};
    std::strcpy(monitorLogin.userID, "M9");
    ASSERT_EQ(monitor.ReqUserLogin(&monitorLogin), 0);
    ASSERT_TRUE(exchange.Accept());
    ASSERT_TRUE(exchange.Receive().has_value());
    expected.clear();
#undef QX_CALL_TRADER
#undef QX_CALL_ADMIN
#define QX_CALL_TRADER(Method, Tid, ...)
#define QX_CALL_ADMIN(Method, Tid, ...) call(monitor.Method(__VA_ARGS__), Tid);
#include "quorex/requests.def"
    for (std::uint32_t tid : expected) {
        auto received = exchange.Receive();
        ASSERT_TRUE(received.has_value()) << std::hex << tid;
        EXPECT_EQ(received->package->m_XTPHeader.Tid, tid);
    }
    EXPECT_EQ(expected.size(), 62u);
}
