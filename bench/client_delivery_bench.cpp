// Cost of one synchronous window message from a reactor-like thread to the user interface thread
// and back, through CQtMessageBridge with a real Qt event loop on the other thread. Beside it two
// baselines: a direct virtual call on the same thread (what a send on the user interface thread
// costs), and a bare std::mutex + std::condition_variable hand-off to a waiting thread (the least
// any blocking hand-off costs).
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QEventLoop>
#include <QThread>
#include <condition_variable>
#include <memory>
#include <mutex>
#include <thread>

#include "client/shell/QtMessageBridge.h"

using namespace kvt;

namespace {

class CountingWindow : public CMessageTarget {
public:
    void OnMessage(unsigned, WParam wParam, LParam) override { sum += wParam; }
    WParam sum = 0;
};

class LoopQuitter : public CMessageTarget {
public:
    void OnMessage(unsigned, WParam, LParam) override { loop->quit(); }
    QEventLoop* loop = nullptr;
};

// A Qt user interface thread: it owns the bridge and runs an event loop until told to stop.
class QtUserInterfaceThread {
public:
    QtUserInterfaceThread() {
        static int argc = 1;
        static char name[] = "client_delivery_bench";
        static char* argv[] = {name, nullptr};
        if (QCoreApplication::instance() == nullptr) new QCoreApplication(argc, argv);
        m_thread.reset(QThread::create([this] {
            CQtMessageBridge bridge;
            QEventLoop loop;
            m_quitter.loop = &loop;
            {
                std::lock_guard lock(m_mutex);
                m_bridge = &bridge.Bridge();
            }
            m_ready.notify_all();
            loop.exec();
        }));
        m_thread->start();
        std::unique_lock lock(m_mutex);
        m_ready.wait(lock, [this] { return m_bridge != nullptr; });
        m_windowRef.Set(&m_window);
        m_quitRef.Set(&m_quitter);
    }
    ~QtUserInterfaceThread() {
        m_bridge->Post(m_quitRef, WM_PAGE_REFRESH, 0, 0);
        m_thread->wait();
    }
    void Send(WParam value) { m_bridge->Send(m_windowRef, WM_ORDER_RTN, value, 0); }

private:
    std::mutex m_mutex;
    std::condition_variable m_ready;
    CMessageBridge* m_bridge = nullptr;
    CountingWindow m_window;
    LoopQuitter m_quitter;
    CWindowRef m_windowRef, m_quitRef;
    std::unique_ptr<QThread> m_thread;
};

void BM_DeliveryQtBridgeFromAnotherThread(benchmark::State& state) {
    QtUserInterfaceThread ui;
    WParam value = 0;
    for (auto _ : state) ui.Send(++value);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeliveryQtBridgeFromAnotherThread)->UseRealTime();

void BM_DeliveryBaselineDirectCall(benchmark::State& state) {
    CountingWindow window;
    CMessageTarget* target = &window;
    benchmark::DoNotOptimize(target);
    WParam value = 0;
    for (auto _ : state) target->OnMessage(WM_ORDER_RTN, ++value, 0);
    benchmark::DoNotOptimize(window.sum);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeliveryBaselineDirectCall);

// One request slot; the worker handles it and signals back, as a minimal synchronous hand-off.
void BM_DeliveryBaselineConditionVariableHandOff(benchmark::State& state) {
    std::mutex mutex;
    std::condition_variable changed;
    bool pending = false, stop = false;
    WParam request = 0;
    CountingWindow window;
    std::thread worker([&] {
        std::unique_lock lock(mutex);
        for (;;) {
            changed.wait(lock, [&] { return pending || stop; });
            if (stop) return;
            window.OnMessage(WM_ORDER_RTN, request, 0);
            pending = false;
            changed.notify_all();
        }
    });
    WParam value = 0;
    for (auto _ : state) {
        std::unique_lock lock(mutex);
        request = ++value;
        pending = true;
        changed.notify_all();
        changed.wait(lock, [&] { return !pending; });
    }
    {
        std::lock_guard lock(mutex);
        stop = true;
    }
    changed.notify_all();
    worker.join();
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DeliveryBaselineConditionVariableHandOff)->UseRealTime();

}  // namespace
