// A replayed trading day as a trader with a busy account meets it after a same-day re-login:
// 10,000 orders, each announced three times (new, partly matched, then matched or cancelled), and
// one match per order, delivered from a reactor-like thread through CClientApi into the program's
// real pages (models and views, offscreen). The replay arrives while the login dialog is still
// open, so the main window is hidden, as it is then. Beside it, the same deliveries into windows
// that do nothing. Each run is timed from the first delivery to the last one handled.
#include <benchmark/benchmark.h>

#include "bench/DesktopBenchSupport.h"
#include "client/app/Application.h"
#include "client/shell/ui/MainWindow.h"

using namespace kvt;
using namespace kvt::bench;

namespace {

constexpr int kOrders = 10000;
// The day interleaves: while one block of orders is new, the block before is partly matched and
// the one before that is finished.
constexpr int kBlock = 100;

TYqOrder Order(int i, char status, int remain) {
    TYqOrder order{};
    quorex::SetText(order.orderNo, Numbered("261208", i + 1, 8));
    quorex::SetText(order.clientID, "00010001");
    quorex::SetText(order.instID, Numbered("", i % 3 + 1, 6));
    quorex::SetText(order.memberID, "0001");
    quorex::SetText(order.traderID, "00010001");
    quorex::SetText(order.localOrderNo, Numbered("", i + 1, 14));
    quorex::SetText(order.applyDate, "20261208");
    quorex::SetText(order.applyTime, "10:30:00");
    order.buyOrSell = i % 2 ? 's' : 'b';
    order.offSetFlag = '0';
    order.pledgeFlag = '1';
    order.price = 3500 + i % 50;
    order.amount = 4;
    order.remainAmount = remain;
    order.status = status;
    return order;
}

TYqMatch Match(int i) {
    TYqMatch match{};
    quorex::SetText(match.matchNo, Numbered("26120800", i + 1, 8));
    quorex::SetText(match.orderNo, Numbered("261208", i + 1, 8));
    quorex::SetText(match.instID, Numbered("", i % 3 + 1, 6));
    quorex::SetText(match.clientID, "00010001");
    quorex::SetText(match.traderID, "00010001");
    match.buyOrSell = i % 2 ? 's' : 'b';
    match.offsetFlag = '0';
    match.pledgeFlag = '1';
    match.price = 3500 + i % 50;
    match.volume = 2;
    return match;
}

void Replay(CClientApi& api) {
    const TTRspMsg ok = SuccessResponse();
    for (int block = 0; block < kOrders / kBlock + 2; ++block) {
        for (int k = 0; k < kBlock; ++k) {
            const int fresh = block * kBlock + k;
            if (fresh < kOrders) {
                const TYqOrder order = Order(fresh, 'o', 4);
                api.onRecvRtnYqOrder(&order, &ok, nullptr);
            }
            const int partly = fresh - kBlock;
            if (partly >= 0 && partly < kOrders) {
                const TYqMatch match = Match(partly);
                api.onRecvRtnYqMatch(&match, &ok, nullptr);
                const TYqOrder order = Order(partly, 'p', 2);
                api.onRecvRtnYqOrder(&order, &ok, nullptr);
            }
            const int finished = fresh - 2 * kBlock;
            if (finished >= 0 && finished < kOrders) {
                const bool cancelled = finished % 4 == 0;
                const TYqOrder order = Order(finished, cancelled ? 'd' : 'c', cancelled ? 2 : 0);
                if (cancelled) {
                    api.onRecvRtnYqOrderCancel(&order, &ok, nullptr);
                } else {
                    api.onRecvRtnYqOrder(&order, &ok, nullptr);
                }
            }
        }
    }
}

constexpr int kDeliveries = kOrders * 4;

void BM_ReplayIntoThePages(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        CApplication app(CStartOptions{}, NoFilesLeft());
        LogInWithoutExchange(app.Api());
        state.SetIterationTime(TimeDeliveries(app.Api(), Replay));
        if (app.Pages().Orders().RowCount() != kOrders) state.SkipWithError("the orders page lost orders");
    }
    state.SetItemsProcessed(state.iterations() * kDeliveries);
}
BENCHMARK(BM_ReplayIntoThePages)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

// The same with the main window shown on the order list (报单), which the replayed orders go into
// as new rows of a shown, sorted list.
void BM_ReplayIntoTheShownOrderList(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        CApplication app(CStartOptions{}, NoFilesLeft());
        LogInWithoutExchange(app.Api());
        app.Window().show();
        app.Tabs().SelectPage(1);
        QCoreApplication::processEvents();
        state.SetIterationTime(TimeDeliveries(app.Api(), Replay));
        if (app.Pages().Orders().RowCount() != kOrders) state.SkipWithError("the orders page lost orders");
    }
    state.SetItemsProcessed(state.iterations() * kDeliveries);
}
BENCHMARK(BM_ReplayIntoTheShownOrderList)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_ReplayIntoNoOpWindows(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        CNoOpClient client;
        state.SetIterationTime(TimeDeliveries(client.api, Replay));
    }
    state.SetItemsProcessed(state.iterations() * kDeliveries);
}
BENCHMARK(BM_ReplayIntoNoOpWindows)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

}  // namespace
