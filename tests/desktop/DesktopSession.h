// The desktop end to end: exchange-sim as a child process, KvtTrade's objects (CApplication) in a
// scratch directory pointed at it, the login through the dialog, and waiting for what the
// exchange sends while the event loop runs. The requests pass through a counting wrapper.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QPushButton>
#include <atomic>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>

#include "ClientTestSupport.h"
#include "client/shell/LocalOrderNumbers.h"
#include "quorex/PasswordDigest.h"
#include "client/shell/ResponseCode.h"
#include "client/app/Application.h"
#include "client/shell/ui/LoginDialogWidget.h"
#include "tests/sim/SimProcess.h"

namespace kvt::test {

// Runs the event loop until the condition holds or the time is up; true when it holds.
inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds = 15000) {
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > milliseconds) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    }
    return true;
}

// Passes every request on to the library and counts them by name.
class CCountingRequests : public CExchangeRequests {
public:
    explicit CCountingRequests(CExchangeRequests& real) : m_real(real) {}
    std::map<std::string, int> counts;

    void UseServer(const char* host, int port) override { m_real.UseServer(host, port); }
    std::string TradeDate() override { return m_real.TradeDate(); }
    int ReqTraderLogin(const TReqTraderLogin& r) override { return Count("login", m_real.ReqTraderLogin(r)); }
    int ReqTraderLogout(const TReqTraderLogout& r) override { return Count("logout", m_real.ReqTraderLogout(r)); }
    int ReqTraderPasswordUpdate(const TReqTraderPasswordUpdate& r) override {
        return Count("password", m_real.ReqTraderPasswordUpdate(r));
    }
    int ReqYqOrderEx(const TYqOrder& o, const TYqFrznElctIndenture* i) override {
        return Count("order", m_real.ReqYqOrderEx(o, i));
    }
    int ReqYqOrderCancel(const TYqOrderCancel& r) override { return Count("cancel", m_real.ReqYqOrderCancel(r)); }
    int ReqQryMemberCapital(const TReqQryMemberCapital& r) override {
        return Count("capital", m_real.ReqQryMemberCapital(r));
    }
    int ReqQryElctIndenture(const TReqQryElctIndenture& r) override {
        return Count("indentures", m_real.ReqQryElctIndenture(r));
    }
    int ReqQryYqQuotation(const TReqQryQuotation& r) override { return Count("quotations", m_real.ReqQryYqQuotation(r)); }
    int ReqQryYqMemberPosi(const TReqQryMemberPosi& r) override {
        return Count("memberPosi", m_real.ReqQryYqMemberPosi(r));
    }
    int ReqQryYqClientPosi(const TReqQryClientPosi& r) override {
        return Count("clientPosi", m_real.ReqQryYqClientPosi(r));
    }
    int ReqQryYqInstElctIndent(const TReqQryInstElctIndent& r) override {
        return Count("instIndentures", m_real.ReqQryYqInstElctIndent(r));
    }

private:
    int Count(const char* name, int result) {
        ++counts[name];
        return result;
    }
    CExchangeRequests& m_real;
};

class CDesktopSession {
public:
    // Starts the exchange (with its market bot when asked) and builds the program's objects in a
    // fresh scratch directory, or in `reuse` (a restart on the same day).
    explicit CDesktopSession(std::vector<std::string> simArguments = {}, std::filesystem::path reuse = {})
        : directory(std::move(reuse)), m_previous(std::filesystem::current_path()) {
        if (directory.empty()) {
            char pattern[] = "/tmp/kvt-desktop-XXXXXX";
            directory = ::mkdtemp(pattern);
            m_ownsDirectory = true;
        }
        std::filesystem::current_path(directory);
        simulator = std::make_unique<quorex::sim::test::CSimProcess>(KVT_EXCHANGE_SIM, simArguments);
        options.servers[0] = {"127.0.0.1", simulator->port};
    }
    ~CDesktopSession() {
        application.reset();
        simulator.reset();
        std::filesystem::current_path(m_previous);
        if (m_ownsDirectory) std::filesystem::remove_all(directory);
    }

    // Builds the application and logs in through the dialog as this trader.
    bool LogIn(const char* trader = "00010001", const char* password = "trader1") {
        if (simulator->port == 0) return false;
        CApplicationHooks hooks;
        hooks.prompter = &prompter;
        hooks.wrapRequests = [this](CExchangeRequests& real) {
            auto counting = std::make_unique<CCountingRequests>(real);
            requests = counting.get();
            return counting;
        };
        hooks.onLoginDialog = [trader, password](CLoginDialogWidget& dialog) {
            dialog.TraderCode().setText(QString::fromUtf8(trader));
            dialog.Password().setText(QString::fromUtf8(password));
            dialog.LoginButton().click();
        };
        extraHooks(hooks);
        application = std::make_unique<CApplication>(options, hooks);
        return application->Start();
    }

    CStartOptions options;
    std::function<void(CApplicationHooks&)> extraHooks = [](CApplicationHooks&) {};
    std::filesystem::path directory;
    std::unique_ptr<quorex::sim::test::CSimProcess> simulator;
    CScriptedPrompter prompter;
    CCountingRequests* requests = nullptr;
    std::unique_ptr<CApplication> application;

private:
    std::filesystem::path m_previous;
    bool m_ownsDirectory = false;
};

}  // namespace kvt::test

namespace kvt::test {

// Another trader of the demo day, logged in through the library alone, to trade against.
class CCounterparty final : public CTraderApi {
public:
    CCounterparty() { initApi(); }
    ~CCounterparty() override { stopApi(); }

    bool LogIn(std::uint16_t port, const char* trader, const char* member, const char* password) {
        SetService("127.0.0.1", port);
        TReqTraderLogin login{};
        quorex::SetText(login.traderID, trader);
        quorex::SetText(login.memberID, member);
        quorex::SetText(login.password, quorex::PasswordDigest(password));
        if (ReqTraderLogin(&login) != 0) return false;
        return WaitUntil([this] { return m_ready.load(); });
    }
    // A deposit order of the trader's own account on an instrument (000001 unless named); the
    // answer is awaited.
    bool Order(char side, double price, int amount, const char* instID = "000001") {
        TYqOrder order{};
        quorex::SetText(order.traderID, m_trader.traderID);
        quorex::SetText(order.memberID, m_trader.memberID);
        quorex::SetText(order.clientID, m_trader.traderID);
        quorex::SetText(order.instID, instID);
        quorex::SetText(order.localOrderNo, CLocalOrderNumbers::Format(++m_localOrderNo));
        order.buyOrSell = side;
        order.offSetFlag = '0';
        order.pledgeFlag = '1';
        order.price = price;
        order.amount = amount;
        const TYqFrznElctIndenture none[1] = {};
        const int answered = m_answers.load();
        if (ReqYqOrderEx(&order, none) != 0) return false;
        return WaitUntil([&] { return m_answers.load() > answered; });
    }
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char*) override {
        if (login == nullptr || !IsSuccess(rsp)) return;
        quorex::SetText(m_trader.traderID, quorex::FieldText(login->traderID));
        quorex::SetText(m_trader.memberID, quorex::FieldText(login->memberID));
        m_localOrderNo = CLocalOrderNumbers::Parse(login->localOrderNo);
    }
    void onRecvReqSendOver() override { m_ready.store(true); }
    void onRecvRspYqOrder(const TYqOrder*, const TTRspMsg*, const char*) override { ++m_answers; }

private:
    TTrader m_trader{};
    std::int64_t m_localOrderNo = 0;
    std::atomic<bool> m_ready{false};
    std::atomic<int> m_answers{0};
};

}  // namespace kvt::test
