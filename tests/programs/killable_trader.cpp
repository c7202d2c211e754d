// A client for the kill tests, run as a child process and killed with SIGKILL at a random moment:
// in the current directory it logs in two traders of the demo day, 00010001 and 00020001, and
// then, until it is killed, places pairs of orders between them at one price, so that every pair
// matches: the first trader buys when its position is flat and sells it back when it is long.
// Every order, cancel and match return and every quotation goes through the library's received
// log and sync files, which the kill may cut at any byte.
//
// usage: killable_trader PORT
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <string>
#include <thread>

#include "quorex/PasswordDigest.h"
#include "quorex/Text.h"
#include "quorex/quorex.h"

namespace {

class CTrader final : public CTraderApi {
public:
    ~CTrader() override { stopApi(); }

    bool LogIn(int port, const char* traderID, const char* password) {
        if (initApi() != 0) return false;
        SetService("127.0.0.1", port);
        TReqTraderLogin login{};
        quorex::SetText(login.traderID, traderID);
        quorex::SetText(login.memberID, std::string_view(traderID, 4));
        quorex::SetText(login.password, quorex::PasswordDigest(password));
        quorex::SetText(login.ipAddress, "127.0.0.1");
        if (ReqTraderLogin(&login) != 0) return false;
        std::unique_lock lock(m_mutex);
        return m_changed.wait_for(lock, std::chrono::seconds(20), [&] { return m_ready || m_failed; }) && m_ready;
    }

    // Places an order of one lot of LW2601 at 3500 for the trader's own account.
    void Place(char side, char offset) {
        TYqOrder order{};
        quorex::SetText(order.traderID, m_traderID);
        quorex::SetText(order.memberID, m_traderID.substr(0, 4));
        quorex::SetText(order.clientID, m_traderID);
        quorex::SetText(order.instID, "000001");
        order.buyOrSell = side;
        order.offSetFlag = offset;
        order.pledgeFlag = '1';
        order.price = 3500;
        order.amount = 1;
        const std::string number = std::to_string(++m_localOrderNo);
        quorex::SetText(order.localOrderNo, std::string(14 - std::min<std::size_t>(number.size(), 14), '0') + number);
        const TYqFrznElctIndenture none[1] = {};
        ReqYqOrderEx(&order, none);
    }

    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char*) override {
        std::lock_guard lock(m_mutex);
        if (login == nullptr || std::strcmp(rsp->RspCode, "RSP000000") != 0) {
            m_failed = true;
        } else {
            m_traderID = login->traderID;
            m_localOrderNo = std::atoll(login->localOrderNo);
        }
        m_changed.notify_all();
    }
    void onRecvReqSendOver() override {
        std::lock_guard lock(m_mutex);
        m_ready = true;
        m_changed.notify_all();
    }
    void onChannelLost(const char*) override { std::_Exit(3); }

private:
    std::mutex m_mutex;
    std::condition_variable m_changed;
    bool m_ready = false;
    bool m_failed = false;
    std::string m_traderID;
    long long m_localOrderNo = 0;  // touched by the login callback, then by the placing thread only
};

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: killable_trader PORT\n");
        return 2;
    }
    quorex::SetLogSink(quorex::DiscardLog, nullptr);
    const int port = std::atoi(argv[1]);
    CTrader first, second;
    if (!first.LogIn(port, "00010001", "trader1") || !second.LogIn(port, "00020001", "trader3")) return 1;
    for (long long pair = 0;; ++pair) {
        const bool open = pair % 2 == 0;
        first.Place(open ? 'b' : 's', open ? '0' : '1');
        second.Place(open ? 's' : 'b', open ? '0' : '1');
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
}
