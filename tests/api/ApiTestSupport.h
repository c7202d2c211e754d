// Support for the API tests: a trader that records its callbacks and lets the test wait for them,
// and a fixture that runs each test in a fresh working directory (the API keeps its files there).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdlib>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "quorex/Text.h"
#include "quorex/quorex.h"

namespace quorex::test {

struct CCallback {
    std::string name;
    std::string key;  // a record member that identifies the record, "" without a record
    char chainFlag = 0;
    std::string code;
    std::string requestId;
    std::string message;  // RspMsg as UTF-8
};

// An API object that records its callbacks and lets the test wait for them. Every class below it
// that overrides callbacks stops the reactor in its own destructor: once that destructor has run,
// the reactor thread would otherwise call through a half-destroyed object.
template <class Api>
class CRecordingApi : public Api {
public:
    ~CRecordingApi() override { this->stopApi(); }

    // Waits until at least count callbacks arrived; false after timeoutMs.
    bool WaitForCalls(std::size_t count, int timeoutMs = 5000) {
        std::unique_lock lock(m_mutex);
        return m_arrived.wait_for(lock, std::chrono::milliseconds(timeoutMs), [&] { return m_calls.size() >= count; });
    }
    std::vector<CCallback> Calls() {
        std::lock_guard lock(m_mutex);
        return m_calls;
    }
    std::vector<std::string> Names() {
        std::vector<std::string> names;
        for (const CCallback& call : Calls()) names.push_back(call.name + (call.key.empty() ? "" : " " + call.key));
        return names;
    }

    void onChannelLost(const char* reason) override { Note("ChannelLost", reason, nullptr, nullptr); }
    void onRecvReqSendOver() override { Note("SendOver", "", nullptr, nullptr); }

protected:
    void Note(const char* name, const char* key, const TTRspMsg* rsp, const char* requestId) {
        CCallback call{name, key, rsp ? rsp->ChainFlag : char{0}, rsp ? rsp->RspCode : "", requestId ? requestId : "(null)", ""};
        if (rsp != nullptr) call.message = quorex::TextOf(rsp->RspMsg);
        {
            std::lock_guard lock(m_mutex);
            m_calls.push_back(call);
        }
        m_arrived.notify_all();
    }

private:
    std::mutex m_mutex;
    std::condition_variable m_arrived;
    std::vector<CCallback> m_calls;
};

class CRecordingTrader : public CRecordingApi<CTraderApi> {
public:
    ~CRecordingTrader() override { stopApi(); }
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char* requestId) override {
        Note("Login", login ? login->tradeDate : "", rsp, requestId);
    }
    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override {
        Note("RtnYqOrder", order ? order->orderNo : "", rsp, requestId);
    }
    void onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override {
        Note("RspYqOrder", order ? order->orderNo : "", rsp, requestId);
    }
    void onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char* requestId) override {
        Note("YqQuotation", quotation ? quotation->instID : "", rsp, requestId);
    }
    void onRecvMarketInfo(const TMarket* market, const TTRspMsg* rsp, const char* requestId) override {
        Note("MarketInfo", market ? market->marketID : "", rsp, requestId);
    }
};

class CRecordingMonitor : public CRecordingApi<CAdminApi> {
public:
    ~CRecordingMonitor() override { stopApi(); }
    void onRecvRspUserLogin(const TReqUserLogin* login, const TTRspMsg* rsp, const char* requestId) override {
        Note("Login", login ? login->tradeDate : "", rsp, requestId);
    }
};

// Each test runs in a directory of its own, removed afterwards.
class CWorkingDirectoryTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_previous = std::filesystem::current_path();
        char pattern[] = "/tmp/quorex-api-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern), nullptr);
        m_directory = pattern;
        std::filesystem::current_path(m_directory);
    }
    void TearDown() override {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_directory);
    }
    static std::vector<std::uint8_t> FileBytes(const std::string& name) {
        std::vector<std::uint8_t> bytes;
        if (std::FILE* file = std::fopen(name.c_str(), "rb")) {
            int c;
            while ((c = std::fgetc(file)) != EOF) bytes.push_back(static_cast<std::uint8_t>(c));
            std::fclose(file);
        }
        return bytes;
    }

private:
    std::filesystem::path m_previous;
    std::filesystem::path m_directory;
};

}  // namespace quorex::test
