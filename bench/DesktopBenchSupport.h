// What the desktop's benchmarks share: one offscreen QApplication, the program without files,
// records made up by number, a client whose every window does nothing (the baseline), and the
// timing of deliveries made from a reactor-like thread while the user interface thread runs its
// event loop.
#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <thread>

#include "client/app/Application.h"
#include "client/pages/PageWindows.h"
#include "client/shell/ClientApi.h"
#include "client/shell/QtMessageBridge.h"
#include "quorex/Text.h"

namespace kvt::bench {

inline void EnsureApplication() {
    if (QApplication::instance() != nullptr) return;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    static int argc = 1;
    static char name[] = "desktop_bench";
    static char* argv[] = {name, nullptr};
    new QApplication(argc, argv);
}

// The program's hooks for a benchmark: message boxes and timers as in the program, no layout file
// read or left behind.
inline CApplicationHooks NoFilesLeft() {
    CApplicationHooks hooks;
    hooks.layoutFile.clear();
    return hooks;
}

inline TTRspMsg SuccessResponse() {
    TTRspMsg ok{};
    ok.ChainFlag = 'L';
    quorex::SetText(ok.RspCode, "RSP000000");
    return ok;
}

inline std::string Numbered(const char* prefix, int number, int digits) {
    char text[32];
    std::snprintf(text, sizeof text, "%s%0*d", prefix, digits, number);
    return text;
}

inline TYuanQiInst Instrument(int i) {
    TYuanQiInst instrument{};
    quorex::SetText(instrument.instID, Numbered("", i, 6));
    quorex::SetText(instrument.yqInstID, Numbered(i % 2 ? "LW" : "RJ", i, 4));
    return instrument;
}

inline TYqQuotation Quotation(int i, double last) {
    TYqQuotation quotation{};
    quorex::SetText(quotation.instID, Numbered("", i, 6));
    quorex::SetText(quotation.yqInstID, Numbered(i % 2 ? "LW" : "RJ", i, 4));
    quotation.lastest = last;
    quotation.lastAverage = 3500;
    quotation.upDown = last - 3500;
    quotation.bid1 = last - 1;
    quotation.ask1 = last + 1;
    return quotation;
}

inline TMemberCapital Capital(char accountType, double balance) {
    TMemberCapital capital{};
    quorex::SetText(capital.memberID, "0001");
    capital.accountType = accountType;
    capital.todayBalance = balance;
    return capital;
}

// The login state a trader has once logged in, without an exchange.
inline void LogInWithoutExchange(CClientApi& api) {
    TReqTraderLogin login{};
    quorex::SetText(login.traderID, "00010001");
    quorex::SetText(login.memberID, "0001");
    quorex::SetText(login.localOrderNo, "00000000000000");
    api.LoginState().ApplyLoginResponse(login, std::time(nullptr));
}

// A client API whose every window is registered and does nothing.
struct CNoOpClient {
    class CNoOpWindow : public CMessageTarget, public CTraderEvents {};
    CNoOpClient() {
        for (TWindowId id = 0; id < IdOf(EPageWindow::kEnd); ++id) api.Windows().Register(id, &window, &window);
    }
    CQtMessageBridge bridge;
    CClientApi api{bridge.Bridge(), EventRoutes()};
    CNoOpWindow window;
};

// Seconds from the first delivery to the last one handled: feed runs on its own thread (as the
// library's reactor would, in one pass: what it delivered is handed over at its end) while this
// thread serves the event loop; the posted messages that the deliveries caused are served too
// before the clock stops.
inline double TimeDeliveries(CClientApi& api, const std::function<void(CClientApi&)>& feed) {
    QCoreApplication::processEvents();
    std::atomic<bool> done{false};
    QElapsedTimer clock;
    clock.start();
    std::thread reactor([&] {
        feed(api);
        api.DeliverPending();
        done.store(true);
    });
    while (!done.load()) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    reactor.join();
    QCoreApplication::processEvents();
    return static_cast<double>(clock.nsecsElapsed()) / 1e9;
}

}  // namespace kvt::bench
