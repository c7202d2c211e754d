// Queue-to-wire throughput: four threads place Yq orders through one logged-in CTraderApi while a
// loopback peer reads and counts the frames. Beside it two baselines send the same prebuilt frame
// bytes straight to a socket from four threads under a shared mutex: one send(2) per order, and
// batches of 64 orders gathered into one buffer per send(2), which is what a hand-written batching
// client does. The peer counts frames in place, so it costs both sides the same.
#include <benchmark/benchmark.h>

#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "public/Frame.h"
#include "public/PackageTypes.h"
#include "public/WireBytes.h"
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
        // Bytes of a frame cut by the end of a read stay at the front for the next one.
        std::vector<std::uint8_t> buffer(1 << 16);
        std::size_t kept = 0;
        for (;;) {
            const ssize_t n = ::recv(m_connection.Get(), buffer.data() + kept, buffer.size() - kept, 0);
            if (n <= 0) return;
            const std::size_t available = kept + static_cast<std::size_t>(n);
            std::size_t used = 0;
            long frames = 0;
            while (available - used >= kFrameHeaderLength) {
                const std::uint8_t* header = buffer.data() + used;
                const std::size_t length = kFrameHeaderLength + header[1] + wire::LoadU16(header + 2);
                if (available - used < length) break;
                used += length;
                ++frames;
            }
            m_frames.fetch_add(frames, std::memory_order_release);
            kept = available - used;
            std::memmove(buffer.data(), buffer.data() + used, kept);
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

// The frame an order request becomes, built once.
void BuildOrderFrame(CXTPPackage& package) {
    package.Prepare(tid::ReqYqOrder);
    package.AddRecord(SampleOrder());
    package.AddRecord(TYqFrznElctIndenture{});
    package.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(package.Length());
    package.PrependHeader(package.m_XTPHeader);
    CFrameEncoder().Encode(package);
}

// Sends all of bytes on a blocking socket.
void SendAll(int socket, const std::uint8_t* bytes, std::size_t n) {
    while (n > 0) {
        const ssize_t sent = ::send(socket, bytes, n, MSG_NOSIGNAL);
        if (sent <= 0) return;
        bytes += sent;
        n -= static_cast<std::size_t>(sent);
    }
}

// Runs the raw senders: each thread hands batches of perSend orders (the same prebuilt frame,
// copied into its own buffer) to one send(2) under the shared mutex.
void RunRawSends(benchmark::State& state, int perSend) {
    CountingPeer peer;
    const quorex::test::CFd connection = quorex::test::ConnectLoopback(static_cast<std::uint16_t>(peer.Port()));
    const int socket = connection.Get();
    CXTPPackage package;
    BuildOrderFrame(package);
    const std::size_t frameLength = package.Length();
    std::mutex mutex;
    long expected = 0;
    for (auto _ : state) {
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t)
            threads.emplace_back([&] {
                std::vector<std::uint8_t> batch(frameLength * static_cast<std::size_t>(perSend));
                for (int done = 0; done < kOrdersPerThread; done += perSend) {
                    const int count = std::min(perSend, kOrdersPerThread - done);
                    for (int i = 0; i < count; ++i)
                        std::memcpy(batch.data() + frameLength * static_cast<std::size_t>(i), package.Address(),
                                    frameLength);
                    std::lock_guard lock(mutex);
                    SendAll(socket, batch.data(), frameLength * static_cast<std::size_t>(count));
                }
            });
        for (std::thread& thread : threads) thread.join();
        expected += kOrders;
        peer.WaitForFrames(expected);
    }
    state.SetItemsProcessed(state.iterations() * kOrders);
}

void BM_RawSendsUnderAMutex(benchmark::State& state) { RunRawSends(state, 1); }
BENCHMARK(BM_RawSendsUnderAMutex)->Unit(benchmark::kMillisecond)->UseRealTime();

void BM_RawBatchesOf64UnderAMutex(benchmark::State& state) { RunRawSends(state, 64); }
BENCHMARK(BM_RawBatchesOf64UnderAMutex)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace
