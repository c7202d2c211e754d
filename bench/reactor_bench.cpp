// The reactor against the loop it replaced, over loopback TCP.
//
// BM_IdleCpu: CPU time of the reactor thread with one connected, idle session over 2 seconds,
// as % of one core ("reactor_pct"), beside a baseline thread that loops the way a select-based
// reactor with a 50 us time-out does on one idle socket ("select_loop_pct").
//
// BM_RoundTrip: a small package (76-byte frame) through the full stack and back: handler send ->
// frame -> socket -> an echo thread -> cut -> parse -> deliver, timed on the reactor thread, with
// the next ping sent from inside the delivery. Beside it a raw TCP ping-pong of the same bytes
// from a blocking socket against the same kind of echo thread. Counters: p50 and p99 of both in
// microseconds and the stack/raw ratios.
//
// BM_PostLatency: from PostEvent on another thread to the start of HandleEvent on the reactor
// thread, which sleeps in poll(2) with one idle session registered; p50 and p99 in microseconds.
#include <benchmark/benchmark.h>

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/select.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>
#include <vector>

#include "public/ChannelControl.h"
#include "public/PackageTypes.h"
#include "public/TcpChannel.h"
#include "public/XTPPackageHandler.h"
#include "tests/public/LoopbackSockets.h"

using namespace quorex;

namespace {

constexpr int kBeginPing = 0x7001;
constexpr int kRounds = 20000;
constexpr int kWarmupRounds = 1000;
constexpr int kBlockRounds = 1000;
constexpr int kPosts = 2000;
constexpr auto kIdleInterval = std::chrono::seconds(2);

double ThreadCpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

double Microseconds(std::chrono::steady_clock::duration duration) {
    return std::chrono::duration<double, std::micro>(duration).count();
}

void SetNoDelay(int socket) {
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
}

// A connected loopback TCP pair: client and server sockets, both blocking, Nagle off.
struct TcpPair {
    int client = -1;
    int server = -1;
    TcpPair() {
        quorex::test::CLoopbackListener listener(1);
        client = quorex::test::ConnectLoopback(listener.Port()).Release();
        server = listener.Accept().Release();
        SetNoDelay(client);
        SetNoDelay(server);
    }
};

// Sends back whatever arrives until the other side closes.
void Echo(int socket) {
    char buffer[8192];
    for (;;) {
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got <= 0) break;
        for (ssize_t sent = 0; sent < got;) {
            const ssize_t n = ::send(socket, buffer + sent, static_cast<std::size_t>(got - sent), MSG_NOSIGNAL);
            if (n <= 0) return;
            sent += n;
        }
    }
    ::close(socket);
}

void BuildPing(CXTPPackage& package) {
    package.Prepare(tid::ReqTraderLogout);
    TReqTraderLogout logout{};
    std::strcpy(logout.traderID, "T0001");
    std::strcpy(logout.memberID, "0001");
    package.AddRecord(logout);
}

// Pings its own echo: each delivery takes a sample and sends the next ping, on the reactor thread.
class CPingHandler final : public CXTPPackageHandler {
public:
    explicit CPingHandler(CReactor& reactor) : CXTPPackageHandler(reactor, 1) { m_samples.reserve(kRounds); }

    // From the benchmark thread: runs rounds pings and waits for the last answer.
    std::vector<double> Run(int rounds) {
        GetReactor().SyncCall(this, kBeginPing, rounds, nullptr);
        std::unique_lock lock(m_mutex);
        m_finished.wait(lock, [this] { return m_done; });
        return m_samples;
    }
    int HandleEvent(int code, int param, void* data) override {
        if (code != kBeginPing) return CXTPPackageHandler::HandleEvent(code, param, data);
        {
            std::lock_guard lock(m_mutex);
            m_done = false;
        }
        m_samples.clear();
        m_remaining = param;
        SendPing();
        return 0;
    }

protected:
    int DeliverToUser(CXTPPackage&) override {
        const auto now = std::chrono::steady_clock::now();
        m_samples.push_back(Microseconds(now - m_sentAt));
        if (--m_remaining > 0) {
            SendPing();
        } else {
            std::lock_guard lock(m_mutex);
            m_done = true;
            m_finished.notify_all();
        }
        return 0;
    }

private:
    void SendPing() {
        BuildPing(m_ping);
        m_sentAt = std::chrono::steady_clock::now();
        SendPackage(m_ping);
    }

    CXTPPackage m_ping;
    std::chrono::steady_clock::time_point m_sentAt;
    int m_remaining = 0;
    std::vector<double> m_samples;
    std::mutex m_mutex;
    std::condition_variable m_finished;
    bool m_done = false;
};

// A reactor with one session over the client end of a loopback connection.
struct StackSetup {
    TcpPair pair;
    CReactor reactor;
    CPingHandler* handler = nullptr;
    std::thread echo;

    StackSetup() {
        auto session = std::make_unique<CXTPControl>(reactor, std::make_unique<CTcpChannel>(pair.client));
        handler = static_cast<CPingHandler*>(session->AddHandler(std::make_unique<CPingHandler>(reactor)));
        reactor.AddSession(std::move(session));
        reactor.Start();
        echo = std::thread(Echo, pair.server);
    }
    ~StackSetup() {
        reactor.Stop();
        ::shutdown(pair.client, SHUT_RDWR);  // ends the echo thread; the reactor closes the socket
        echo.join();
    }
};

// The baseline: a blocking client socket that writes the same frame and reads the echo.
class CRawPinger {
public:
    CRawPinger() : m_echo(Echo, m_pair.server) {
        CXTPPackage ping;
        BuildPing(ping);
        // The bytes the stack sends: XTP header and frame header in front of the content.
        TXTPHeader header = ping.m_XTPHeader;
        header.SequenceSeries = 1;
        header.ContentLength = static_cast<std::uint16_t>(ping.Length());
        CFrameEncoder encoder;
        ping.PrependHeader(header);
        encoder.Encode(ping);
        m_frame.assign(ping.Address(), ping.Address() + ping.Length());
        m_answer.resize(m_frame.size());
    }
    ~CRawPinger() {
        ::close(m_pair.client);
        m_echo.join();
    }
    void Run(int rounds, std::vector<double>& samples) {
        for (int i = 0; i < rounds; ++i) {
            const auto start = std::chrono::steady_clock::now();
            const ssize_t sent = ::send(m_pair.client, m_frame.data(), m_frame.size(), MSG_NOSIGNAL);
            if (sent != static_cast<ssize_t>(m_frame.size())) return;
            std::size_t got = 0;
            while (got < m_answer.size()) {
                const ssize_t n = ::recv(m_pair.client, m_answer.data() + got, m_answer.size() - got, 0);
                if (n <= 0) return;
                got += static_cast<std::size_t>(n);
            }
            samples.push_back(Microseconds(std::chrono::steady_clock::now() - start));
        }
    }

private:
    TcpPair m_pair;
    std::thread m_echo;
    std::vector<std::uint8_t> m_frame;
    std::vector<std::uint8_t> m_answer;
};

double Percentile(std::vector<double> samples, double fraction) {
    if (samples.empty()) return 0;
    const auto rank = static_cast<std::size_t>(fraction * static_cast<double>(samples.size() - 1));
    std::nth_element(samples.begin(), samples.begin() + static_cast<std::ptrdiff_t>(rank), samples.end());
    return samples[rank];
}

// Reads the reactor thread's CPU time on the reactor thread.
class CCpuProbe final : public CEventTarget {
public:
    int HandleEvent(int, int, void* data) override {
        *static_cast<double*>(data) = ThreadCpuSeconds();
        return 0;
    }
};

double ReactorIdlePercent() {
    StackSetup setup;
    CCpuProbe probe;
    double cpuBefore = 0;
    double cpuAfter = 0;
    setup.reactor.SyncCall(&probe, 0, 0, &cpuBefore);
    const auto start = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(kIdleInterval);
    setup.reactor.SyncCall(&probe, 0, 0, &cpuAfter);
    const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return 100.0 * (cpuAfter - cpuBefore) / wall;
}

// The replaced design: select on the watched sockets with a 50 us time-out, or sleep 1 ms when
// there are none, over and over.
double SelectLoopIdlePercent() {
    TcpPair pair;
    double percent = 0;
    std::thread loop([&] {
        const double cpuStart = ThreadCpuSeconds();
        const auto start = std::chrono::steady_clock::now();
        while (std::chrono::steady_clock::now() - start < kIdleInterval) {
            fd_set readable;
            FD_ZERO(&readable);
            FD_SET(pair.client, &readable);
            timeval timeout{0, 50};
            if (::select(pair.client + 1, &readable, nullptr, nullptr, &timeout) < 0) {
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
        }
        const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        percent = 100.0 * (ThreadCpuSeconds() - cpuStart) / wall;
    });
    loop.join();
    ::close(pair.client);
    ::close(pair.server);
    return percent;
}

// Notes when the reactor thread started handling its event.
class CStampTarget final : public CEventTarget {
public:
    int HandleEvent(int, int, void*) override {
        handledAt.store(std::chrono::steady_clock::now().time_since_epoch().count(), std::memory_order_release);
        handledAt.notify_one();
        return 0;
    }
    std::atomic<std::chrono::steady_clock::rep> handledAt{0};
};

void BM_PostLatency(benchmark::State& state) {
    for (auto _ : state) {
        StackSetup setup;
        CStampTarget target;
        std::vector<double> samples;
        samples.reserve(kPosts);
        const auto start = std::chrono::steady_clock::now();
        for (int i = 0; i < kPosts; ++i) {
            target.handledAt.store(0, std::memory_order_relaxed);
            // Let the reactor go back to sleep in poll before the next post.
            std::this_thread::sleep_for(std::chrono::microseconds(200));
            const auto posted = std::chrono::steady_clock::now();
            setup.reactor.PostEvent(&target, 1, 0, nullptr);
            target.handledAt.wait(0, std::memory_order_acquire);
            const auto handled = std::chrono::steady_clock::duration(target.handledAt.load());
            samples.push_back(Microseconds(handled - posted.time_since_epoch()));
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
        state.counters["p50_us"] = Percentile(samples, 0.50);
        state.counters["p99_us"] = Percentile(samples, 0.99);
    }
}
BENCHMARK(BM_PostLatency)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_IdleCpu(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        state.counters["reactor_pct"] = ReactorIdlePercent();
        state.counters["select_loop_pct"] = SelectLoopIdlePercent();
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
    }
}
BENCHMARK(BM_IdleCpu)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

void BM_RoundTrip(benchmark::State& state) {
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        StackSetup setup;
        CRawPinger raw;
        std::vector<double> stackSamples;
        std::vector<double> rawSamples;
        setup.handler->Run(kWarmupRounds);
        raw.Run(kWarmupRounds, rawSamples);
        rawSamples.clear();
        // Alternate blocks of both, so that both see the same load on the machine.
        for (int block = 0; block < kRounds / kBlockRounds; ++block) {
            const std::vector<double> samples = setup.handler->Run(kBlockRounds);
            stackSamples.insert(stackSamples.end(), samples.begin(), samples.end());
            raw.Run(kBlockRounds, rawSamples);
        }
        state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());

        const double stackP50 = Percentile(stackSamples, 0.50);
        const double stackP99 = Percentile(stackSamples, 0.99);
        const double rawP50 = Percentile(rawSamples, 0.50);
        const double rawP99 = Percentile(rawSamples, 0.99);
        state.counters["stack_p50_us"] = stackP50;
        state.counters["stack_p99_us"] = stackP99;
        state.counters["raw_p50_us"] = rawP50;
        state.counters["raw_p99_us"] = rawP99;
        state.counters["p50_ratio"] = rawP50 > 0 ? stackP50 / rawP50 : 0;
        state.counters["p99_ratio"] = rawP99 > 0 ? stackP99 / rawP99 : 0;
        state.counters["rounds"] = static_cast<double>(stackSamples.size());
    }
}
BENCHMARK(BM_RoundTrip)->Iterations(1)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
