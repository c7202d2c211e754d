// A trader at the console: logs in, prints what the exchange sends as readable UTF-8 lines
// (reference data, quotations, order and match returns, answers, the capital of the trader's own
// account or, with --account-type 1, of the member's agency account), optionally places or
// cancels one Yq order, then logs out and says how it ended.
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>

#include "CommandLine.h"
#include "ConsoleSupport.h"
#include "quorex/quorex.h"

using quorex::SetText;
using quorex::TextOf;

namespace {

constexpr const char* kUsage =
    "usage: trader_console [--host H] [--port P] [--trader T] [--member M] [--client C] [--password PW]\n"
    "                      [--account-type 0|1] [--seconds N] [--timeout S] [--verbose]\n"
    "                      [--buy INST PRICE AMOUNT | --sell INST PRICE AMOUNT | --cancel ORDERNO INST]\n"
    "       trader_console --help | --version\n"
    "Logs in (default 127.0.0.1:6669 as the demo day's trader 00010001 of member 0001, password\n"
    "trader1), prints what arrives for N seconds (default 3), sends the one order or cancel given,\n"
    "waits for its answer, logs out, and ends with \"logged out\". --account-type chooses the capital\n"
    "shown: 0 the trader's own account (default), 1 the member's agency account.\n";

struct Options {
    examples::TConsoleOptions console = {.seconds = 3};
    std::string trader = "00010001";
    std::string member = "0001";
    std::string client;  // the trader's own when empty
    std::string password = "trader1";
    char accountType = '0';
    char side = 0;  // 'b' buy, 's' sell, 'C' cancel
    std::string instrument, orderNo;
    double price = 0;
    int amount = 0;
};

bool TakeOption(examples::CArguments& arguments, Options& options) {
    const std::string& option = arguments.Option();
    if (examples::TakeConsoleOption(arguments, options.console)) return true;
    if (option == "--trader") options.trader = arguments.Text();
    else if (option == "--member") options.member = arguments.Text();
    else if (option == "--client") options.client = arguments.Text();
    else if (option == "--password") options.password = arguments.Text();
    else if (option == "--account-type") options.accountType = arguments.OneOf("01");
    else if (option == "--buy" || option == "--sell") {
        options.side = option == "--buy" ? 'b' : 's';
        options.instrument = arguments.Text();
        options.price = arguments.Price();
        options.amount = static_cast<int>(arguments.Integer(1, INT_MAX));
    } else if (option == "--cancel") {
        options.side = 'C';
        options.orderNo = arguments.Text();
        options.instrument = arguments.Text();
    } else {
        return false;
    }
    return true;
}

class ConsoleTrader final : public CTraderApi {
public:
    explicit ConsoleTrader(examples::CConsoleRun& run) : m_run(run) {}
    ~ConsoleTrader() override { stopApi(); }

    long LastLocalOrderNo() {
        std::lock_guard lock(m_mutex);
        return m_lastLocalOrderNo;
    }

    void onChannelLost(const char* reason) override { m_run.ChannelLost(reason); }
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char*) override {
        std::printf("login: %s %s, trade date %s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str(), login->tradeDate);
        {
            std::lock_guard lock(m_mutex);
            m_lastLocalOrderNo = std::atol(login->localOrderNo);
        }
        m_run.LoginAnswered(*rsp, false);
    }
    void onRecvReqSendOver() override {
        std::printf("standard data complete\n");
        m_run.StandardDataComplete();
    }
    void onRecvRspTraderLogout(const TReqTraderLogout*, const TTRspMsg*, const char*) override { m_run.LogoutAnswered(); }
    void onRecvMarketInfo(const TMarket* market, const TTRspMsg*, const char*) override {
        if (market) std::printf("market %s %s\n", market->marketID, TextOf(market->marketName).c_str());
    }
    void onRecvYuanQiInstInfo(const TYuanQiInst* inst, const TTRspMsg*, const char*) override {
        if (inst)
            std::printf("instrument %s %s %s tick %.2f limits %.2f..%.2f\n", inst->instID, inst->yqInstID,
                        TextOf(inst->yqName).c_str(), inst->tick, inst->lowerLimit, inst->upperLimit);
    }
    void onRecvYqQuotation(const TYqQuotation* q, const TTRspMsg*, const char*) override { PrintQuotation(q); }
    void onRecvRspQryYqQuotation(const TYqQuotation* q, const TTRspMsg*, const char*) override { PrintQuotation(q); }
    void onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) override {
        std::printf("order answer: %s %s%s%s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str(), order ? " order " : "",
                    order ? order->orderNo : "");
        m_run.Answered("order", *rsp);
    }
    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg*, const char*) override {
        if (order)
            std::printf("order %s %s %c %.2f x %d remain %d status %c\n", order->orderNo, order->instID,
                        order->buyOrSell, order->price, order->amount, order->remainAmount, order->status);
    }
    void onRecvRspYqOrderCancel(const TYqOrderCancel*, const TTRspMsg* rsp, const char*) override {
        std::printf("cancel answer: %s %s\n", rsp->RspCode, TextOf(rsp->RspMsg).c_str());
        m_run.Answered("cancel", *rsp);
    }
    void onRecvRtnYqOrderCancel(const TYqOrder* order, const TTRspMsg*, const char*) override {
        if (order) std::printf("cancelled %s remain %d\n", order->orderNo, order->remainAmount);
    }
    void onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg*, const char*) override {
        if (match)
            std::printf("match %s %s %c %.2f x %d (order %s)\n", match->matchNo, match->instID, match->buyOrSell,
                        match->price, match->volume, match->orderNo);
    }
    void onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg*, const char*) override {
        if (capital)
            std::printf("capital of %s account %c: balance %.2f, frozen %.2f\n", capital->memberID,
                        capital->accountType, capital->todayBalance, capital->frozen);
    }

private:
    static void PrintQuotation(const TYqQuotation* q) {
        if (q)
            std::printf("quotation %s last %.2f bid %.2f x %d ask %.2f x %d volume %d\n", q->instID, q->lastest, q->bid1,
                        q->bidLot1, q->ask1, q->askLot1, q->volume);
    }
    examples::CConsoleRun& m_run;
    std::mutex m_mutex;
    long m_lastLocalOrderNo = 0;
};

// The capital and quotation queries, then the one order or cancel of the command line.
void SendCommands(ConsoleTrader& trader, const Options& options, examples::CConsoleRun& run) {
    TReqQryMemberCapital capital{};
    SetText(capital.memberID, options.member);
    capital.accountType = options.accountType;
    trader.ReqQryMemberCapital(&capital);
    TReqQryQuotation quotations{};
    trader.ReqQryYqQuotation(&quotations);
    if (options.side == 'C') {
        TYqOrderCancel cancel{};
        SetText(cancel.orderNo, options.orderNo);
        SetText(cancel.instID, options.instrument);
        SetText(cancel.memberID, options.member);
        SetText(cancel.traderID, options.trader);
        run.Sent("cancel", trader.ReqYqOrderCancel(&cancel));
    } else if (options.side != 0) {
        TYqOrder order{};
        SetText(order.instID, options.instrument);
        SetText(order.memberID, options.member);
        SetText(order.traderID, options.trader);
        SetText(order.clientID, options.client.empty() ? options.trader : options.client);
        order.buyOrSell = options.side;
        order.offSetFlag = '0';   // a new position
        order.pledgeFlag = '1';   // secured by a deposit
        order.price = options.price;
        order.amount = options.amount;
        std::string next = std::to_string((trader.LastLocalOrderNo() + 1) % 100000000000000L);
        next.insert(0, 14 - next.size(), '0');  // 14 decimal digits
        SetText(order.localOrderNo, next);
        const TYqFrznElctIndenture noIndentures[1] = {};
        run.Sent("order", trader.ReqYqOrderEx(&order, noIndentures));
    }
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    const std::string usage = std::string(kUsage) + examples::kConsoleUsage;
    const auto takeOption = [&](examples::CArguments& arguments) { return TakeOption(arguments, options); };
    const auto parsed = examples::ReadCommandLine(argc, argv, "trader_console", usage.c_str(), takeOption);
    if (parsed) return *parsed;
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const examples::CLibraryLog log(options.console.verbose);
    examples::CConsoleRun run("trader_console", options.console);
    ConsoleTrader trader(run);
    TReqTraderLogin login{};
    SetText(login.traderID, options.trader);
    SetText(login.memberID, options.member);
    SetText(login.password, quorex::PasswordDigest(options.password));
    SetText(login.ipAddress, "127.0.0.1");
    TReqTraderLogout logout{};
    SetText(logout.traderID, options.trader);
    SetText(logout.memberID, options.member);
    return run.Run(trader, log,
                   {.login = [&] { return trader.ReqTraderLogin(&login); },
                    .sendCommands = [&] { SendCommands(trader, options, run); },
                    .logout = [&] { trader.ReqTraderLogout(&logout); },
                    .loginOptions = "--trader, --member and --password"});
}
