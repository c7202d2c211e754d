// A monitor (administrator) at the console: logs in, changes the trading state of the exchange,
// a market or a Yq instrument, runs the whole-exchange queries of today's Yq orders and matches,
// and prints what comes back as readable UTF-8 lines. The whole command line is read before the
// login; the commands then run in the order given, and the program says how they ended.
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "ConsoleSupport.h"
#include "quorex/quorex.h"

using quorex::SetText;
using quorex::TextOf;

namespace {

class ConsoleMonitor final : public CAdminApi {
public:
    explicit ConsoleMonitor(examples::CConsoleRun& run) : m_run(run) {}
    ~ConsoleMonitor() override { stopApi(); }

    void onChannelLost(const char* reason) override { m_run.ChannelLost(reason); }
    void onRecvRspUserLogin(const TReqUserLogin* login, const TTRspMsg* rsp, const char*) override {
        std::printf("login: %s %s, trade date %s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str(), login->tradeDate);
        m_run.LoginAnswered(*rsp, true);
    }
    void onRecvRspUserLogout(const TReqUserLogout*, const TTRspMsg*, const char*) override { m_run.LogoutAnswered(); }
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
            std::printf("order query: %s %s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str());
        m_run.Answered("order query", *rsp);
    }
    void onRecvRspQryYqMatch4M(const TYqMatch* match, const TTRspMsg* rsp, const char*) override {
        if (match)
            std::printf("match %s member %s %s %c %.2f x %d [%c]\n", match->matchNo, match->memberID, match->instID,
                        match->buyOrSell, match->price, match->volume, rsp->ChainFlag);
        else
            std::printf("match query: %s %s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str());
        m_run.Answered("match query", *rsp);
    }

private:
    void Answer(const char* what, const TTRspMsg* rsp) {
        std::printf("%s: %s %s\n", what, rsp->RspCode, TextOf(rsp->RspMsg).c_str());
        m_run.Answered(what, *rsp);
    }

    examples::CConsoleRun& m_run;
};

// One command, sent once logged in as `user`; what it is, and the request's result.
struct Command {
    const char* what;
    std::function<int(ConsoleMonitor& monitor, const std::string& user)> send;
};

struct Options {
    examples::TConsoleOptions console = {.seconds = 2};
    std::string user = "admin001";
    std::string password = "admin1";
    std::vector<Command> commands;
};

constexpr const char* kUsage =
    "usage: admin_console [--host H] [--port P] [--user U] [--password PW] [--seconds N] [--timeout S]\n"
    "                     [--verbose] [--exchange-state ID STATE] [--market-state ID STATE]\n"
    "                     [--inst-state INST STATE] [--orders] [--matches]\n"
    "       admin_console --help | --version\n"
    "Logs in as a monitor (default 127.0.0.1:6669 as the demo day's monitor user admin001, password\n"
    "admin1), sends the commands in the order given (STATE is one character), prints what arrives for\n"
    "N seconds (default 2), waits for every command's answer, logs out, and ends with \"logged out\".\n";

bool TakeOption(examples::CArguments& arguments, Options& options) {
    const std::string& option = arguments.Option();
    if (examples::TakeConsoleOption(arguments, options.console)) {
        return true;
    } else if (option == "--user") {
        options.user = arguments.Text();
    } else if (option == "--password") {
        options.password = arguments.Text();
    } else if (option == "--exchange-state") {
        TReqExchangeStateUpdate update{};
        SetText(update.exchangeID, arguments.Text());
        update.esChangeCommand = arguments.Character();
        options.commands.push_back({"exchange state", [update](ConsoleMonitor& monitor, const std::string&) {
            return monitor.ReqExchangeStateUpdate(&update);
        }});
    } else if (option == "--market-state") {
        TReqMarketStateUpdate update{};
        SetText(update.marketID, arguments.Text());
        update.msChangeCommand = arguments.Character();
        options.commands.push_back({"market state", [update](ConsoleMonitor& monitor, const std::string&) {
            return monitor.ReqMarketStateUpdate(&update);
        }});
    } else if (option == "--inst-state") {
        TReqInstStateUpdate update{};
        SetText(update.instID, arguments.Text());
        update.isChangeCommand = arguments.Character();
        options.commands.push_back({"instrument state", [update](ConsoleMonitor& monitor, const std::string&) {
            return monitor.ReqYqInstStateUpdate(&update);
        }});
    } else if (option == "--orders") {
        options.commands.push_back({"order query", [](ConsoleMonitor& monitor, const std::string& user) {
            TReqQryYqOrder4M query{};
            SetText(query.userID, user);
            return monitor.ReqQryYqOrder4M(&query);
        }});
    } else if (option == "--matches") {
        options.commands.push_back({"match query", [](ConsoleMonitor& monitor, const std::string& user) {
            TReqQryYqMatch4M query{};
            SetText(query.userID, user);
            return monitor.ReqQryYqMatch4M(&query);
        }});
    } else {
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const std::string usage = std::string(kUsage) + examples::kConsoleUsage;
    const auto takeOption = [&](examples::CArguments& arguments) { return TakeOption(arguments, options); };
    const auto parsed = examples::ReadCommandLine(argc, argv, "admin_console", usage.c_str(), takeOption);
    if (parsed) return *parsed;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const examples::CLibraryLog log(options.console.verbose);
    examples::CConsoleRun run("admin_console", options.console);
    ConsoleMonitor monitor(run);
    TReqUserLogin login{};
    SetText(login.userID, options.user);
    SetText(login.password, quorex::PasswordDigest(options.password));
    TReqUserLogout logout{};
    SetText(logout.userID, options.user);
    const auto sendCommands = [&] {
        for (const Command& command : options.commands) run.Sent(command.what, command.send(monitor, options.user));
    };
    return run.Run(monitor, log,
                   {.login = [&] { return monitor.ReqUserLogin(&login); },
                    .sendCommands = sendCommands,
                    .logout = [&] { monitor.ReqUserLogout(&logout); },
                    .loginOptions = "--user and --password"});
}
