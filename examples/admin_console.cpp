// A monitor (administrator) at the console: logs in, changes the trading state of the exchange,
// a market or a Yq instrument, runs the whole-exchange queries of today's Yq orders and matches,
// and prints what comes back as readable UTF-8 lines.
//
//   admin_console [--host H] [--port P] [--user U] [--password PW] [--seconds N]
//                 [--exchange-state ID STATE] [--market-state ID STATE] [--inst-state INST STATE]
//                 [--orders] [--matches]
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "quorex/PasswordDigest.h"
#include "examples/ConsoleSupport.h"
#include "quorex/Text.h"
#include "quorex/quorex.h"

using quorex::SetText;
using quorex::TextOf;

namespace {

class ConsoleMonitor final : public CAdminApi {
public:
    ~ConsoleMonitor() override { stopApi(); }
    CReadySignal loggedIn;

    void onChannelLost(const char* reason) override {
        std::printf("connection lost: %s\n", reason);
        loggedIn.Set(false);
    }
    void onRecvRspUserLogin(const TReqUserLogin* login, const TTRspMsg* rsp, const char*) override {
        std::printf("login: %s %s, trade date %s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str(), login->tradeDate);
        loggedIn.Set(std::string(rsp->RspCode) == "RSP000000");
    }
    void onRecvRspExchangeStateUpdate(const TReqExchangeStateUpdate*, const TTRspMsg* rsp, const char*) override {
        Answer("exchange state", rsp);
    }
    void onRecvRspMarketeStateUpdate(const TReqMarketStateUpdate*, const TTRspMsg* rsp, const char*) override {
        Answer("market state", rsp);
    }
    void onRecvRspYqInstStateUpdate(const TReqInstStateUpdate*, const TTRspMsg* rsp, const char*) override {
        Answer("instrument state", rsp);
    }
    void onRecvExchangeStateUpdate(const TExchangeState* state, const TTRspMsg*, const char*) override {
        if (state) std::printf("exchange %s is now %c\n", state->exchangeID, state->state);
    }
    void onRecvMarketStateUpdate(const TMarketState* state, const TTRspMsg*, const char*) override {
        if (state) std::printf("market %s is now %c\n", state->marketID, state->marketState);
    }
    void onRecvYqInstStateUpdate(const TInstState* state, const TTRspMsg*, const char*) override {
        if (state) std::printf("instrument %s is now %c\n", state->instID, state->tradeState);
    }
    void onRecvRspQryYqOrder4M(const TYqOrder* order, const TTRspMsg* rsp, const char*) override {
        if (order)
            std::printf("order %s member %s %s %c %.2f x %d remain %d status %c [%c]\n", order->orderNo, order->memberID,
                        order->instID, order->buyOrSell, order->price, order->amount, order->remainAmount, order->status,
                        rsp->ChainFlag);
        else
            Answer("order query", rsp);
    }
    void onRecvRspQryYqMatch4M(const TYqMatch* match, const TTRspMsg* rsp, const char*) override {
        if (match)
            std::printf("match %s member %s %s %c %.2f x %d [%c]\n", match->matchNo, match->memberID, match->instID,
                        match->buyOrSell, match->price, match->volume, rsp->ChainFlag);
        else
            Answer("match query", rsp);
    }

private:
    static void Answer(const char* what, const TTRspMsg* rsp) {
        std::printf("%s: %s %s\n", what, rsp->RspCode, TextOf(rsp->RspMsg).c_str());
    }
};

}  // namespace

int main(int argc, char** argv) {
    std::string host = "127.0.0.1", user = "M001", password = "123456";
    int port = 6669, seconds = 2;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ConsoleMonitor monitor;
    // Options are applied in order once logged in; the connection options come first.
    int first = 1;
    for (; first < argc; first += 2) {
        const std::string flag = argv[first];
        const std::string value = first + 1 < argc ? argv[first + 1] : "";
        if (flag == "--host") host = value;
        else if (flag == "--port") port = std::atoi(value.c_str());
        else if (flag == "--user") user = value;
        else if (flag == "--password") password = value;
        else if (flag == "--seconds") seconds = std::atoi(value.c_str());
        else break;
    }
    if (monitor.init() != 0) return 1;
    monitor.SetService(host.c_str(), port);
    TReqUserLogin login{};
    SetText(login.userID, user);
    SetText(login.password, quorex::PasswordDigest(password));
    if (monitor.ReqUserLogin(&login) != 0 || !monitor.loggedIn.Wait(std::chrono::seconds(10))) {
        std::printf("login failed\n");
        return 1;
    }
    for (int i = first; i < argc; ++i) {
        const std::string command = argv[i];
        const auto next = [&]() -> std::string { return i + 1 < argc ? argv[++i] : ""; };
        if (command == "--exchange-state") {
            TReqExchangeStateUpdate update{};
            SetText(update.exchangeID, next());
            update.esChangeCommand = next().c_str()[0];
            monitor.ReqExchangeStateUpdate(&update);
        } else if (command == "--market-state") {
            TReqMarketStateUpdate update{};
            SetText(update.marketID, next());
            update.msChangeCommand = next().c_str()[0];
            monitor.ReqMarketStateUpdate(&update);
        } else if (command == "--inst-state") {
            TReqInstStateUpdate update{};
            SetText(update.instID, next());
            update.isChangeCommand = next().c_str()[0];
            monitor.ReqYqInstStateUpdate(&update);
        } else if (command == "--orders") {
            TReqQryYqOrder4M query{};
            SetText(query.userID, user);
            monitor.ReqQryYqOrder4M(&query);
        } else if (command == "--matches") {
            TReqQryYqMatch4M query{};
            SetText(query.userID, user);
            monitor.ReqQryYqMatch4M(&query);
        } else {
            std::fprintf(stderr, "unknown option %s\n", command.c_str());
            return 2;
        }
    }
    std::this_thread::sleep_for(std::chrono::seconds(seconds));
    TReqUserLogout logout{};
    SetText(logout.userID, user);
    monitor.ReqUserLogout(&logout);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 0;
}
