// Logins that go wrong on one API object: a refusal followed by a retry, files cut where a kill
// leaves them, damaged files, and errors while a package is handled. After each, the next login
// works, or fails with a clear answer, and the user gets every package of the day exactly once.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "api/ApiTestSupport.h"
#include "api/FakeExchange.h"
#include "api/FakeLogin.h"
#include "public/PackageTypes.h"
#include "quorex/Errors.h"

using namespace quorex;
using namespace quorex::test;
namespace fs = std::filesystem;

namespace {

constexpr const char* kDate = "20261209";
const std::vector<std::string> kUserFiles = {"T_CLOCKT001.dat", "t_privateT001.dat", "t_memberT001.dat",
                                             "t_marketT001.dat", "logT001.id", "logT001.con"};

std::string FileText(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

std::map<std::string, std::string> Snapshot() {
    std::map<std::string, std::string> files;
    for (const std::string& name : kUserFiles)
        if (fs::exists(name)) files[name] = FileText(name);
    return files;
}

void Restore(const std::map<std::string, std::string>& files) {
    for (const std::string& name : kUserFiles) fs::remove(name);
    for (const auto& [name, bytes] : files) WriteBytes(name, bytes);
}

bool AnyUserFile() {
    return std::any_of(kUserFiles.begin(), kUserFiles.end(), [](const std::string& name) { return fs::exists(name); });
}

// A trader whose order-return callback raises a library error for one order, as a failing
// file would inside the library.
class CFailingTrader : public CRecordingTrader {
public:
    ~CFailingTrader() override { stopApi(); }
    std::string failOn;
    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override {
        if (order != nullptr && failOn == order->orderNo) throw CRuntimeError("test failure", "test", __LINE__);
        CRecordingTrader::onRecvRtnYqOrder(order, rsp, requestId);
    }
};

// A retry from inside the callback that reports the refusal.
class CRetryingTrader : public CRecordingTrader {
public:
    ~CRetryingTrader() override { stopApi(); }
    int retryResult = 1;
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char* requestId) override {
        CRecordingTrader::onRecvRspTraderLogin(login, rsp, requestId);
        if (retryResult == 1) {
            const TReqTraderLogin again = LoginRecord();
            retryResult = ReqTraderLogin(&again, "retry");
        }
    }
};

class ApiLoginRecovery : public CWorkingDirectoryTest {
protected:
    // The exchange's day: order returns on the private flow and quotations on the market flow,
    // numbered from 1 in each.
    ApiLoginRecovery() {
        for (int n = 1; n <= 5; ++n) m_private.push_back("P" + std::to_string(n));
        for (int n = 1; n <= 4; ++n) m_market.push_back("M" + std::to_string(n));
    }

    // Sends the login and returns where the exchange resumes each flow (empty when no login
    // came): after the subscription points, or from the start for a login of another trade date,
    // whose points belong to another day.
    std::vector<std::int32_t> SendLogin(CTraderApi& trader) {
        trader.m_nServerCount = 0;
        trader.SetService("127.0.0.1", m_exchange.Port());
        const TReqTraderLogin login = LoginRecord();
        EXPECT_EQ(trader.ReqTraderLogin(&login, "login"), 0);
        if (!m_exchange.Accept()) return {};
        auto request = m_exchange.Receive();
        if (!request) return {};
        TReqTraderLogin sent{};
        request->package->GetRecord(sent);
        if (std::strcmp(sent.tradeDate, kDate) != 0) return std::vector<std::int32_t>(5, 0);
        return SubscriptionPoints(*request->package);
    }

    // A login the exchange accepts, followed by the day's packages after each subscription point.
    // The number of packages sent.
    std::size_t ServeDay(CTraderApi& trader) {
        const std::vector<std::int32_t> points = SendLogin(trader);
        if (points.empty()) {
            ADD_FAILURE() << "no login request";
            return 0;
        }
        AnswerLogin(m_exchange, kDate);
        std::size_t sent = 0;
        for (std::size_t n = static_cast<std::size_t>(points[3]) + 1; n <= m_private.size(); ++n, ++sent)
            SendOrderReturn(m_exchange, static_cast<std::uint32_t>(n), m_private[n - 1].c_str());
        for (std::size_t n = static_cast<std::size_t>(points[4]) + 1; n <= m_market.size(); ++n, ++sent) {
            TYqQuotation quotation{};
            std::strcpy(quotation.instID, m_market[n - 1].c_str());
            m_exchange.Send(tid::YqQuotation, kMarketSeries, static_cast<std::uint32_t>(n),
                            [&](CXTPPackage& package) { package.AddRecord(quotation); });
        }
        // An answer on the dialog flow after the day: once it has come, everything before it has.
        TYqOrder end{};
        std::strcpy(end.orderNo, "END");
        TTRspMsg rsp{};
        std::strcpy(rsp.RspCode, "RSP000000");
        m_exchange.Send(tid::RspYqOrder, kDialogSeries, 0, [&](CXTPPackage& package) {
            package.AddRecord(end);
            package.AddRecord(rsp);
        });
        return sent;
    }

    // Logs in and checks that the login, then every package of the day exactly once, arrived.
    void ExpectWholeDay(CRecordingTrader& trader) {
        const std::size_t before = trader.Calls().size();
        ServeDay(trader);
        const std::size_t total = 1 + m_private.size() + m_market.size();
        ASSERT_TRUE(trader.WaitForCalls(before + total + 1));
        std::vector<CCallback> calls = trader.Calls();
        calls.erase(calls.begin(), calls.begin() + static_cast<std::ptrdiff_t>(before));
        ASSERT_FALSE(calls.empty());
        EXPECT_EQ(calls.back().key, "END");
        calls.pop_back();
        std::vector<std::string> keys;
        for (const CCallback& call : calls) {
            if (call.name == "RtnYqOrder" || call.name == "YqQuotation") keys.push_back(call.key);
        }
        std::vector<std::string> expected = m_private;
        expected.insert(expected.end(), m_market.begin(), m_market.end());
        std::sort(keys.begin(), keys.end());
        std::sort(expected.begin(), expected.end());
        EXPECT_EQ(keys, expected);
        EXPECT_EQ(calls.size(), total) << "more than the day";
        EXPECT_EQ(calls.front().name, "Login");
        m_exchange.CloseConnection();
    }

    // A first login that receives the whole day; the files are then as a normal day leaves them.
    void ReceiveTheDay() {
        CRecordingTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        ExpectWholeDay(trader);
    }

    CFakeExchange m_exchange;
    std::vector<std::string> m_private;
    std::vector<std::string> m_market;
};

TEST_F(ApiLoginRecovery, ARefusedFirstLoginLeavesNothingAndTheSameObjectLogsInAfterwards) {
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    ASSERT_FALSE(SendLogin(trader).empty());
    AnswerLogin(m_exchange, kDate, "ERR000001");
    ASSERT_TRUE(trader.WaitForCalls(1));
    EXPECT_EQ(trader.Calls()[0].code, "ERR000001");
    // The connection is closed by the library, without a channel loss, and no file is left.
    EXPECT_TRUE(m_exchange.WaitForClientClose());
    m_exchange.CloseConnection();
    EXPECT_FALSE(AnyUserFile());

    ExpectWholeDay(trader);
    EXPECT_EQ(trader.Calls()[1].name, "Login");
    EXPECT_EQ(trader.Calls()[1].code, "RSP000000");
    EXPECT_TRUE(fs::exists("T_CLOCKT001.dat"));
}

TEST_F(ApiLoginRecovery, ARefusedLoginOfAKnownUserKeepsTheirFiles) {
    ReceiveTheDay();
    const auto before = Snapshot();
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    ASSERT_FALSE(SendLogin(trader).empty());
    AnswerLogin(m_exchange, kDate, "ERR000001");
    ASSERT_TRUE(trader.WaitForCalls(1));
    EXPECT_TRUE(m_exchange.WaitForClientClose());
    m_exchange.CloseConnection();
    EXPECT_EQ(Snapshot(), before);
}

TEST_F(ApiLoginRecovery, ARetryFromInsideTheRefusalIsALoginOfItsOwn) {
    CRetryingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    ASSERT_FALSE(SendLogin(trader).empty());
    AnswerLogin(m_exchange, kDate, "ERR000001");
    ASSERT_TRUE(m_exchange.Accept());  // the retry's connection
    auto retry = m_exchange.Receive();
    ASSERT_TRUE(retry.has_value());
    EXPECT_STREQ(retry->package->m_XTPHeader.RootID, "retry");
    EXPECT_EQ(trader.retryResult, 0);
    // Unanswered, the retry holds the session.
    const TReqTraderLogin login = LoginRecord();
    EXPECT_EQ(trader.ReqTraderLogin(&login), -2);
}

TEST_F(ApiLoginRecovery, ARefusedMonitorLoginIsFollowedByAnAcceptedOneOnTheSameObject) {
    CRecordingMonitor monitor;
    ASSERT_EQ(monitor.initApi(), 0);
    monitor.SetService("127.0.0.1", m_exchange.Port());
    TReqUserLogin login{};
    std::strcpy(login.userID, "admin001");
    std::size_t calls = 0;
    for (const char* code : {"ERR000001", "RSP000000"}) {
        ASSERT_EQ(monitor.ReqUserLogin(&login, "m"), 0);
        ASSERT_TRUE(m_exchange.Accept());
        ASSERT_TRUE(m_exchange.Receive().has_value());
        TReqUserLogin answer = login;
        std::strcpy(answer.tradeDate, kDate);
        TTRspMsg rsp{};
        std::strcpy(rsp.RspCode, code);
        m_exchange.Send(tid::RspUserLogin, kDialogSeries, 0, [&](CXTPPackage& package) {
            package.AddRecord(answer);
            package.AddRecord(rsp);
        });
        ASSERT_TRUE(monitor.WaitForCalls(++calls));
        EXPECT_EQ(monitor.Calls().back().code, code);
    }
    EXPECT_EQ(monitor.ReqUserLogin(&login, "m"), -2);
    EXPECT_TRUE(fs::exists("A_CLOCKadmin001.dat"));
}

// Every byte offset inside the last record of the log, of each sync file and of the clock file:
// what a kill in the middle of a write leaves. The next login gets the day exactly once. (The id
// file of a day this short is empty; its cuts are the flow repair's own tests.)
TEST_F(ApiLoginRecovery, FilesCutInsideTheirLastRecordGiveTheDayExactlyOnce) {
    ReceiveTheDay();
    const auto day = Snapshot();
    const std::string log = day.at("logT001.con");
    // The last record is the last quotation: its length is in its 8-byte header.
    std::size_t lastStart = 0;
    for (std::size_t at = 0; at < log.size();) {
        lastStart = at;
        std::uint32_t length = 0;
        std::memcpy(&length, log.data() + at, 4);
        at += 8 + length;
    }
    std::vector<std::pair<std::string, std::size_t>> cuts;
    for (std::size_t cut = lastStart + 1; cut < log.size(); ++cut) cuts.emplace_back("logT001.con", cut);
    for (const char* sync : {"t_privateT001.dat", "t_memberT001.dat", "t_marketT001.dat"})
        for (std::size_t cut = 0; cut < 56; ++cut) cuts.emplace_back(sync, cut);
    // A clock cut short of its date makes the day a new one: the log starts again, and the
    // exchange sends the day from its start.
    for (std::size_t cut = 0; cut < 18; ++cut) cuts.emplace_back("T_CLOCKT001.dat", cut);
    for (const auto& [file, cut] : cuts) {
        SCOPED_TRACE(file + " cut at " + std::to_string(cut));
        Restore(day);
        WriteBytes(file, day.at(file).substr(0, cut));
        CRecordingTrader trader;
        ASSERT_EQ(trader.initApi(), 0);
        ExpectWholeDay(trader);
        if (HasFatalFailure()) return;
    }
}

// The sync file is written after the log: a kill between the two leaves the last logged package
// past the sync point. It is not given twice.
TEST_F(ApiLoginRecovery, ALoggedPackageBeyondItsSyncPointIsNotGivenTwice) {
    ReceiveTheDay();
    std::string point = FileText("t_privateT001.dat");
    const std::uint32_t behind = static_cast<std::uint32_t>(m_private.size() - 1);
    std::memcpy(point.data() + 8, &behind, 4);  // SequenceNo in the in-memory header
    WriteBytes("t_privateT001.dat", point);
    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    ExpectWholeDay(trader);
}

TEST_F(ApiLoginRecovery, ADamagedLogFailsTheLoginWithItsNameAndARetryWorksOnceItIsRemoved) {
    ReceiveTheDay();
    std::string log = FileText("logT001.con");
    log[8 + 3] ^= 0x01;  // the first record's ContentLength no longer fits its bytes
    WriteBytes("logT001.con", log);
    const auto damaged = Snapshot();

    CRecordingTrader trader;
    ASSERT_EQ(trader.initApi(), 0);
    ServeDay(trader);
    ASSERT_TRUE(trader.WaitForCalls(1));
    EXPECT_TRUE(m_exchange.WaitForClientClose());
    m_exchange.CloseConnection();
    ASSERT_EQ(trader.Calls().size(), 1u) << "nothing but the failed login, no channel loss";
    EXPECT_EQ(trader.Calls()[0].name, "Login");
    EXPECT_EQ(trader.Calls()[0].code, "ERR999998");
    EXPECT_EQ(trader.Calls()[0].message, "本地文件不可用:logT001.con");
    EXPECT_EQ(Snapshot(), damaged) << "a refused start changes no file";

    for (const char* name : {"logT001.id", "logT001.con", "t_privateT001.dat", "t_memberT001.dat", "t_marketT001.dat"})
        fs::remove(name);
    ExpectWholeDay(trader);
}

TEST_F(ApiLoginRecovery, AnErrorWhileAPackageIsHandledEndsTheSessionAndTheNextLoginGetsItAgain) {
    CFailingTrader trader;
    trader.failOn = "P3";
    ASSERT_EQ(trader.initApi(), 0);
    ServeDay(trader);
    ASSERT_TRUE(trader.WaitForCalls(4));  // login, P1, P2, then the channel loss
    EXPECT_EQ(trader.Calls()[3].name, "ChannelLost");
    EXPECT_EQ(trader.Calls()[3].key, "local failure");
    EXPECT_TRUE(m_exchange.WaitForClientClose());
    m_exchange.CloseConnection();

    CRecordingTrader next;
    ASSERT_EQ(next.initApi(), 0);
    ExpectWholeDay(next);
}

}  // namespace
