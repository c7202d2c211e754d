// A monitor (administrator) at the console: logs in, changes the trading state of the exchange,
// a market or a Yq instrument, runs the whole-exchange queries of today's Yq orders and matches,
// and prints what comes back as readable UTF-8 lines. The whole command line is read before the
// login; the commands then run in the order given.
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "CommandLine.h"
#include "ConsoleSupport.h"
#include "quorex/PasswordDigest.h"
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

// One command, sent once logged in as `user`.
using Command = std::function<void(ConsoleMonitor& monitor, const std::string& user)>;

struct Options {
    std::string host = "127.0.0.1";
    int port = 6669;
    std::string user = "M001";
    std::string password = "123456";
    int seconds = 2;
    std::vector<Command> commands;
};

constexpr const char* kUsage =
    "usage: admin_console [--host H] [--port P] [--user U] [--password PW] [--seconds N]\n"
    "                     [--exchange-state ID STATE] [--market-state ID STATE] [--inst-state INST STATE]\n"
    "                     [--orders] [--matches]\n"
    "       admin_console --help | --version\n"
    "Logs in as a monitor (default 127.0.0.1:6669, user M001), sends the commands in the order given\n"
    "(STATE is one character), prints what arrives for N seconds (default 2), and logs out.\n";

bool TakeOption(examples::CArguments& arguments, Options& options) {
    const std::string& option = arguments.Option();
    if (option == "--host") {
        options.host = arguments.Text();
    } else if (option == "--port") {
        options.port = arguments.Port();
    } else if (option == "--user") {
        options.user = arguments.Text();
    } else if (option == "--password") {
        options.password = arguments.Text();
    } else if (option == "--seconds") {
        options.seconds = static_cast<int>(arguments.Integer(0, 3600));
    } else if (option == "--exchange-state") {
        TReqExchangeStateUpdate update{};
        SetText(update.exchangeID, arguments.Text());
        update.esChangeCommand = arguments.Character();
        options.commands.push_back([update](ConsoleMonitor& monitor, const std::string&) {
            monitor.ReqExchangeStateUpdate(&update);
        });
    } else if (option == "--market-state") {
        TReqMarketStateUpdate update{};
        SetText(update.marketID, arguments.Text());
        update.msChangeCommand = arguments.Character();
        options.commands.push_back([update](ConsoleMonitor& monitor, const std::string&) {
            monitor.ReqMarketStateUpdate(&update);
        });
    } else if (option == "--inst-state") {
        TReqInstStateUpdate update{};
        SetText(update.instID, arguments.Text());
        update.isChangeCommand = arguments.Character();
        options.commands.push_back([update](ConsoleMonitor& monitor, const std::string&) {
            monitor.ReqYqInstStateUpdate(&update);
        });
    } else if (option == "--orders") {
        options.commands.push_back([](ConsoleMonitor& monitor, const std::string& user) {
            TReqQryYqOrder4M query{};
            SetText(query.userID, user);
            monitor.ReqQryYqOrder4M(&query);
        });
    } else if (option == "--matches") {
        options.commands.push_back([](ConsoleMonitor& monitor, const std::string& user) {
            TReqQryYqMatch4M query{};
            SetText(query.userID, user);
            monitor.ReqQryYqMatch4M(&query);
        });
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const auto takeOption = [&](examples::CArguments& arguments) { return TakeOption(arguments, options); };
    const auto parsed = examples::ReadCommandLine(argc, argv, "admin_console", kUsage, takeOption);
    if (parsed) return *parsed;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    ConsoleMonitor monitor;
    if (monitor.init() != 0) return 1;
    monitor.SetService(options.host.c_str(), options.port);
    TReqUserLogin login{};
    SetText(login.userID, options.user);
    SetText(login.password, quorex::PasswordDigest(options.password));
    if (monitor.ReqUserLogin(&login) != 0 || !monitor.loggedIn.Wait(std::chrono::seconds(10))) {
        std::printf("login failed\n");
        return 1;
    }
    for (const Command& command : options.commands) command(monitor, options.user);
    std::this_thread::sleep_for(std::chrono::seconds(options.seconds));
    TReqUserLogout logout{};
    SetText(logout.userID, options.user);
    monitor.ReqUserLogout(&logout);
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    return 0;
}
