// Queue-to-wire throughput: four threads place Yq orders through one logged-in CTraderApi while a
// loopback peer reads and counts the frames. Beside it, the baseline: four threads send the same
// prebuilt frame bytes straight to a socket, one send per order under a shared mutex.
#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "public/Frame.h"
#include "public/PackageTypes.h"
#include "public/XTPPackage.h"
#include "quorex/quorex.h"
#include "tests/public/LoopbackSockets.h"

using namespace quorex;

namespace {

constexpr int kThreads = 4;
constexpr int kOrdersPerThread = 5000;
constexpr long kOrders = long{kThreads} * kOrdersPerThread;

// A loopback listener whose accepted connection is drained by a thread that counts frames.
class CountingPeer {
public:
    CountingPeer() : m_reader([this] { Drain(); }) {}
    ~CountingPeer() {
        ::shutdown(m_listener.Fd(), SHUT_RDWR);
        if (m_connection.Get() >= 0) ::shutdown(m_connection.Get(), SHUT_RDWR);
        m_reader.join();
    }
    int Port() const { return m_listener.Port(); }
    long Frames() const { return m_frames.load(std::memory_order_acquire); }
    void WaitForFrames(long count) const {
        while (Frames() < count) std::this_thread::yield();
    }

private:
    void Drain() {
        m_connection = m_listener.Accept();
        if (m_connection.Get() < 0) return;
        std::vector<std::uint8_t> pending;
        std::uint8_t chunk[65536];
        CFramePackage frame;
        for (;;) {
            const ssize_t n = ::recv(m_connection.Get(), chunk, sizeof chunk, 0);
            if (n <= 0) return;
            pending.insert(pending.end(), chunk, chunk + n);
            std::size_t used = 0;
            while (pending.size() - used >= kFrameHeaderLength) {
                frame.Assign(pending.data() + used, pending.size() - used);
                const int length = frame.Cut();
                if (length <= 0) break;
                used += static_cast<std::size_t>(length);
                m_frames.fetch_add(1, std::memory_order_release);
            }
            pending.erase(pending.begin(), pending.begin() + static_cast<long>(used));
        }
    }

    quorex::test::CLoopbackListener m_listener{4};
    quorex::test::CFd m_connection;
    std::atomic<long> m_frames{0};
    std::thread m_reader;  // last: it starts once the listener exists
};

TYqOrder SampleOrder() {
    TYqOrder order{};
    std::strcpy(order.instID, "HR0612");
    std::strcpy(order.memberID, "0001");
    order.price = 4125;
    order.amount = 1;
    return order;
}

template <class Send>
void RunThreads(Send send) {
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t)
        threads.emplace_back([&] {
            for (int i = 0; i < kOrdersPerThread; ++i) send();
        });
    for (std::thread& thread : threads) thread.join();
}

void BM_RequestsThroughTheApi(benchmark::State& state) {
    CountingPeer peer;
    CTraderApi trader;
    trader.initApi();
    trader.SetService("127.0.0.1", peer.Port());
    TReqTraderLogin login{};
    std::strcpy(login.traderID, "BENCH");
    if (trader.ReqTraderLogin(&login) != 0) state.SkipWithError("no session");
    peer.WaitForFrames(1);
    const TYqOrder order = SampleOrder();
    const TYqFrznElctIndenture indenture{};
    long expected = 1;
    for (auto _ : state) {
        RunThreads([&] { trader.ReqYqOrder(&order, &indenture); });
        expected += kOrders;
        peer.WaitForFrames(expected);
    }
    state.SetItemsProcessed(state.iterations() * kOrders);
    trader.stopApi();
}
BENCHMARK(BM_RequestsThroughTheApi)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawSendsUnderAMutex(benchmark::State& state) {
    CountingPeer peer;
    const quorex::test::CFd connection = quorex::test::ConnectLoopback(static_cast<std::uint16_t>(peer.Port()));
    const int socket = connection.Get();
    // The frame an order request becomes, built once.
    CXTPPackage package;
    package.Prepare(tid::ReqYqOrder);
    package.AddRecord(SampleOrder());
    package.AddRecord(TYqFrznElctIndenture{});
    package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
    package.PrependHeader(package.m_XTPHeader);
    CFrameEncoder().Encode(package);
    std::mutex mutex;
    long expected = 0;
    for (auto _ : state) {
        RunThreads([&] {
            std::lock_guard lock(mutex);
            ::send(socket, package.Address(), package.Length(), MSG_NOSIGNAL);
        });
        expected += kOrders;
        peer.WaitForFrames(expected);
    }
    state.SetItemsProcessed(state.iterations() * kOrders);
}
BENCHMARK(BM_RawSendsUnderAMutex)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
