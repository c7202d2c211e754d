// End-to-end support: the simulator on a free loopback port and library API objects that record
// their callbacks, so that tests can wait for them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "ExchangeHarness.h"
#include "api/ApiTestSupport.h"
#include "quorex/quorex.h"
#include "sim/SimServer.h"

namespace quorex::sim::test {

// One callback: its name, a key naming the record (and what changed), and the response code.
struct CCall {
    std::string name;
    std::string key;
    std::string code;
};

// The sequenced deliveries (order, cancel and match returns, quotations), named by callback and
// key: the same name twice is the same package twice.
inline std::vector<std::string> Sequenced(const std::vector<CCall>& calls) {
    std::vector<std::string> sequenced;
    for (const CCall& call : calls) {
        if (call.name == "RtnYqOrder" || call.name == "RtnYqMatch" || call.name == "RtnYqOrderCancel" || call.name == "YqQuotation") {
            sequenced.push_back(call.name + " " + call.key);
        }
    }
    return sequenced;
}

// Records callbacks of either API class and lets the test wait for them.
class CCallLog {
public:
    void Note(std::string name, std::string key, const TTRspMsg* rsp) {
        {
            std::lock_guard lock(m_mutex);
            m_calls.push_back({std::move(name), std::move(key), rsp != nullptr ? rsp->RspCode : ""});
        }
        m_changed.notify_all();
    }
    // Waits until some recorded call satisfies found; false after five seconds.
    bool WaitFor(const std::function<bool(const CCall&)>& found) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(5), [&] {
            return std::any_of(m_calls.begin(), m_calls.end(), found);
        });
    }
    bool WaitFor(const std::string& name, const std::string& keyPrefix = "") {
        return WaitFor([&](const CCall& call) { return call.name == name && call.key.starts_with(keyPrefix); });
    }
    // Waits until at least count recorded calls satisfy found; false after ten seconds.
    bool WaitForCount(std::size_t count, const std::function<bool(const CCall&)>& found) {
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(10), [&] {
            return static_cast<std::size_t>(std::count_if(m_calls.begin(), m_calls.end(), found)) >= count;
        });
    }
    std::vector<CCall> Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<CCall> m_calls;
};

class CApiTrader final : public CTraderApi {
public:
    ~CApiTrader() override { stopApi(); }

    // Connects to the simulator and logs in; true once the standard data has arrived.
    bool LogIn(std::uint16_t port, const char* traderID, const char* password) {
        if (initApi() != 0) return false;
        SetService("127.0.0.1", port);
        TReqTraderLogin login{};
        SetText(login.traderID, traderID);
        SetText(login.memberID, std::string_view(traderID, 4));
        SetText(login.password, quorex::PasswordDigest(password));
        SetText(login.ipAddress, "127.0.0.1");
        return ReqTraderLogin(&login) == 0 && log.WaitFor("SendOver");
    }

    void onChannelLost(const char* reason) override { log.Note("ChannelLost", reason, nullptr); }
    void onRecvReqSendOver() override { log.Note("SendOver", "", nullptr); }
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char*) override {
        log.Note("Login", login != nullptr ? login->localOrderNo : "", rsp);
    }
    void onRecvMarketInfo(const TMarket* market, const TTRspMsg* rsp, const char*) override {
        log.Note("MarketInfo", market != nullptr ? market->marketID : "", rsp);
    }
    void onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) override {
        log.Note("RspYqOrder", order != nullptr ? order->orderNo : "", rsp);
        if (order != nullptr) log.Note("RspYqOrderLocal", std::string(order->orderNo) + "/" + order->localOrderNo, rsp);
    }
    void onRecvRspQryYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) override {
        log.Note("QryYqOrder", order != nullptr ? std::string(order->orderNo) + "/" + order->localOrderNo : "", rsp);
        if (order != nullptr) {
            log.Note("QryYqOrderState", std::string(order->orderNo) + "/" + order->status + "/" + std::to_string(order->remainAmount), rsp);
        }
        if (rsp != nullptr && rsp->ChainFlag != 'C') log.Note("QryYqOrderEnd", "", rsp);
    }
    void onRecvRspQryYqMatch(const TYqMatch* match, const TTRspMsg* rsp, const char*) override {
        if (match != nullptr) {
            log.Note("QryYqMatch", std::string(match->matchNo) + "/" + match->buyOrSell + "/" + std::to_string(match->volume), rsp);
        }
        if (rsp != nullptr && rsp->ChainFlag != 'C') log.Note("QryYqMatchEnd", "", rsp);
    }
    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) override {
        log.Note("RtnYqOrder", std::string(order->orderNo) + "/" + order->status + "/" + std::to_string(order->remainAmount), rsp);
    }
    void onRecvRspYqOrderCancel(const TYqOrderCancel* cancel, const TTRspMsg* rsp, const char*) override {
        log.Note("RspYqOrderCancel", cancel != nullptr ? cancel->orderNo : "", rsp);
    }
    void onRecvRtnYqOrderCancel(const TYqOrder* order, const TTRspMsg* rsp, const char*) override {
        log.Note("RtnYqOrderCancel", std::string(order->orderNo) + "/" + order->status, rsp);
    }
    void onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg* rsp, const char*) override {
        log.Note("RtnYqMatch", std::string(match->matchNo) + "/" + match->buyOrSell + "/" + std::to_string(match->volume), rsp);
    }
    void onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char*) override {
        char last[32];
        std::snprintf(last, sizeof last, "%.0f", quotation->lastest);
        log.Note("YqQuotation", std::string(quotation->instID) + "/" + std::to_string(quotation->sequenceNo) + "/" + last, rsp);
    }
    void onRecvYqInstStateUpdate(const TInstState* state, const TTRspMsg* rsp, const char*) override {
        log.Note("YqInstState", std::string(state->instID) + "/" + state->tradeState, rsp);
    }

    CCallLog log;
};

class CApiMonitor final : public CAdminApi {
public:
    ~CApiMonitor() override { stopApi(); }

    bool LogIn(std::uint16_t port) {
        if (initApi() != 0) return false;
        SetService("127.0.0.1", port);
        TReqUserLogin login{};
        SetText(login.userID, "admin001");
        SetText(login.password, quorex::PasswordDigest("admin1"));
        return ReqUserLogin(&login) == 0 && log.WaitFor("Login", "RSP000000");
    }
    void onRecvRspUserLogin(const TReqUserLogin*, const TTRspMsg* rsp, const char*) override {
        log.Note("Login", rsp->RspCode, rsp);
    }
    void onRecvRspYqInstStateUpdate(const TReqInstStateUpdate* update, const TTRspMsg* rsp, const char*) override {
        log.Note("RspYqInstState", update != nullptr ? update->instID : "", rsp);
    }

    CCallLog log;
};

// The simulator with the demo day on a free port, and a working directory of the test's own for
// the API's files.
class SimEndToEndTest : public quorex::test::CWorkingDirectoryTest {
protected:
    void StartServer(CServerOptions options = {}) {
        server.reset();
        options.port = 0;
        options.logSessions = false;
        std::string error;
        auto day = ParseTradingDay(DemoDayToml(), "demo", "20260105", error);
        ASSERT_TRUE(day) << error;
        server = std::make_unique<CSimServer>(std::move(*day), options);
        ASSERT_TRUE(server->Start(error)) << error;
    }
    void TearDown() override {
        server.reset();
        quorex::test::CWorkingDirectoryTest::TearDown();
    }
    // A deposit order of a trader for its own client (the member's first client).
    static TYqOrder OrderOf(const char* traderID, char side, double price, int amount, long long local, char offset = '0') {
        return CExchangeHarness::Order(traderID, traderID, "000001", side, price, amount, local, offset);
    }

    std::unique_ptr<CSimServer> server;
};

inline const TYqFrznElctIndenture kNoIndentures[1] = {};

}  // namespace quorex::sim::test
