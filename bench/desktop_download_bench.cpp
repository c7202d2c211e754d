// The initial download as a trader meets it: 10,000 records (2,000 instruments, 6,000 quotations,
// 2,000 capital answers) delivered from a reactor-like thread through CClientApi into the program's
// registered windows (the real pages with their models and views, offscreen), against the same
// records delivered through the same kind of bridge to windows that do nothing. The initial data
// arrives while the login dialog is open and the main window still hidden, as here. Each run is
// timed from the first delivery to the last one handled on the user interface thread.
#include <benchmark/benchmark.h>


#include "bench/DesktopBenchSupport.h"
#include "client/app/Application.h"
#include "client/shell/ui/MainWindow.h"

using namespace kvt;
using namespace kvt::bench;

namespace {

constexpr int kInstruments = 2000;
constexpr int kQuotationsPerInstrument = 3;
constexpr int kCapitalAnswers = 2000;

// Calls the callbacks the exchange's initial data arrives through, in a download's order.
void Download(CClientApi& api) {
    const TTRspMsg ok = SuccessResponse();
    for (int i = 0; i < kInstruments; ++i) {
        const TYuanQiInst instrument = Instrument(i);
        api.onRecvYuanQiInstInfo(&instrument, &ok, nullptr);
    }
    for (int round = 0; round < kQuotationsPerInstrument; ++round) {
        for (int i = 0; i < kInstruments; ++i) {
            const TYqQuotation quotation = Quotation(i, 3500.0 + round);
            api.onRecvRspQryYqQuotation(&quotation, &ok, nullptr);
        }
    }
    for (int i = 0; i < kCapitalAnswers; ++i) {
        const TMemberCapital capital = Capital(static_cast<char>('0' + i % 2), 1e7 + i);
        api.onRecvRspQryMemberCapital(&capital, &ok, nullptr);
    }
}

void BM_DownloadIntoTheWindows(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        CApplication app(CStartOptions{}, NoFilesLeft());
        LogInWithoutExchange(app.Api());
        state.SetIterationTime(TimeDeliveries(app.Api(), Download));
    }
    state.SetItemsProcessed(state.iterations() * (kInstruments * (1 + kQuotationsPerInstrument) + kCapitalAnswers));
}
BENCHMARK(BM_DownloadIntoTheWindows)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

// The same with the main window shown on the quotation board, as when a trader logs in again on a
// busy day: every instrument is a new row of the shown, sorted board.
void BM_DownloadIntoTheShownWindow(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        CApplication app(CStartOptions{}, NoFilesLeft());
        LogInWithoutExchange(app.Api());
        app.Window().show();
        QCoreApplication::processEvents();
        state.SetIterationTime(TimeDeliveries(app.Api(), Download));
    }
    state.SetItemsProcessed(state.iterations() * (kInstruments * (1 + kQuotationsPerInstrument) + kCapitalAnswers));
}
BENCHMARK(BM_DownloadIntoTheShownWindow)->UseManualTime()->Iterations(3)->Unit(benchmark::kMillisecond);

void BM_DownloadIntoNoOpWindows(benchmark::State& state) {
    EnsureApplication();
    for (auto _ : state) {
        CNoOpClient client;
        state.SetIterationTime(TimeDeliveries(client.api, Download));
    }
    state.SetItemsProcessed(state.iterations() * (kInstruments * (1 + kQuotationsPerInstrument) + kCapitalAnswers));
}
BENCHMARK(BM_DownloadIntoNoOpWindows)->UseManualTime()->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace
