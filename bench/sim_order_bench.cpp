// Orders end to end: traders of the library (CTraderApi, each with its own reactor thread) against
// the exchange-sim program, started as a child process on a free loopback port with a benchmark
// day (eight traders of one member, capital that never runs out). Every order goes through the
// library's request queue, frame and XTP layers, the simulator's session, validation, matching and
// the answer and returns back; each order also makes a quotation that every trader receives.
// The program is looked for beside this one, in ../sim/exchange-sim of the build tree.
//
// Each benchmark runs with the simulator's day in a folder on disk (day_in_memory:0, under /tmp)
// and in one on tmpfs (day_in_memory:1, under /dev/shm), where a write costs only its system
// call, so that the cost of keeping the day on disk shows side by side. The counter
// writes_per_order is the simulator's write system calls (its /proc/PID/io "syscw") per order,
// trader_writes_per_order those of the benchmark's own process, the traders' library.
//
// BM_SustainedOrders: N traders each keep 32 orders in flight, alternately buying and selling
// one lot at one price so that the book stays small; items_per_second is orders answered per
// second over all traders.
// BM_OrderToAnswer: N traders each with one order in flight, the next sent from inside the
// answer's callback; counters p50_us and p99_us of the time from ReqYqOrderEx to
// onRecvRspYqOrder, over all traders.
#include <benchmark/benchmark.h>

#include <linux/magic.h>
#include <signal.h>
#include <sys/vfs.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "quorex/Text.h"
#include "tests/sim/SimProcess.h"
#include "quorex/quorex.h"

namespace {

using quorex::sim::test::CSimProcess;

using quorex::SetText;

constexpr int kWindow = 32;
constexpr int kOrdersPerTraderPerIteration = 2000;
constexpr int kLatencyOrdersPerTrader = 2000;
constexpr int kTraders = 8;
// The MD5 digest of the benchmark traders' password "bench".
constexpr const char* kPasswordDigest = "1d28d258250876fb7dde22a17436ef9c";

using Clock = std::chrono::steady_clock;

// Counts answers down to zero and wakes the benchmark thread then.
struct CCountdown {
    std::atomic<int> left{0};
    std::atomic<bool> done{false};
    void Start(int count) {
        done.store(false);
        left.store(count);
    }
    void One() {
        if (left.fetch_sub(1) == 1) {
            done.store(true);
            done.notify_one();
        }
    }
    void Wait() { done.wait(false); }
};

class CBenchTrader final : public CTraderApi {
public:
    CBenchTrader(int index, CCountdown& countdown) : m_countdown(countdown) {
        SetText(m_order.traderID, "0001B00" + std::to_string(index));
        SetText(m_order.memberID, "0001");
        SetText(m_order.clientID, "00010001");
        SetText(m_order.instID, "000001");
        m_order.offSetFlag = '0';
        m_order.pledgeFlag = '1';
        m_order.price = 3500;
        m_order.amount = 1;
    }
    ~CBenchTrader() override { stopApi(); }

    bool LogIn(std::uint16_t port) {
        if (initApi() != 0) return false;
        SetService("127.0.0.1", port);
        TReqTraderLogin login{};
        SetText(login.traderID, m_order.traderID);
        SetText(login.memberID, "0001");
        SetText(login.password, kPasswordDigest);
        if (ReqTraderLogin(&login) != 0) return false;
        m_ready.wait(false);
        return true;
    }
    // Sends count orders, at most window of them unanswered at a time.
    void Run(int count, int window) {
        m_toSend.store(count);
        m_window = window;
        for (int i = 0; i < window; ++i) SendNext();
    }
    std::vector<double> TakeLatencies() {
        std::lock_guard lock(m_mutex);
        return std::move(m_latencies);
    }

    void onRecvReqSendOver() override {
        m_ready.store(true);
        m_ready.notify_one();
    }
    void onRecvRspYqOrder(const TYqOrder*, const TTRspMsg*, const char*) override {
        if (m_window == 1) {
            const double micros = std::chrono::duration<double, std::micro>(Clock::now() - m_sentAt).count();
            std::lock_guard lock(m_mutex);
            m_latencies.push_back(micros);
        }
        SendNext();
        m_countdown.One();
    }

private:
    void SendNext() {
        if (m_toSend.fetch_sub(1) <= 0) return;
        ++m_local;
        const std::string number = std::to_string(m_local);
        SetText(m_order.localOrderNo, std::string(14 - number.size(), '0') + number);
        m_order.buyOrSell = m_local % 2 == 0 ? 'b' : 's';
        m_sentAt = Clock::now();
        const TYqFrznElctIndenture none[1] = {};
        ReqYqOrderEx(&m_order, none);
    }

    CCountdown& m_countdown;
    TYqOrder m_order{};
    long long m_local = 0;
    std::atomic<int> m_toSend{0};
    int m_window = 1;
    Clock::time_point m_sentAt;
    std::atomic<bool> m_ready{false};
    std::mutex m_mutex;
    std::vector<double> m_latencies;
};

// The benchmark's trading day: one instrument, the traders 0001B001..0001B008 of member 0001
// trading for its client 00010001.
std::string BenchDay() {
    std::string day = R"(
[exchange]
exchangeID = "QRX"
state = "1"
[[market]]
marketID = "01"
marketState = "1"
[[member]]
memberID = "0001"
[[client]]
clientID = "00010001"
memberID = "0001"
accountType = "0"
[[capital]]
memberID = "0001"
accountType = "0"
lastBalance = 1e15
[[instrument]]
instID = "000001"
yqInstID = "LW2601"
marketID = "01"
unit = 10
tick = 1.0
minHand = 1
maxHand = 500
lowerLimit = 3150.0
upperLimit = 3850.0
tradeState = "1"
refPrice = 3500.0
)";
    for (int i = 1; i <= kTraders; ++i) {
        day += "[[trader]]\ntraderID = \"0001B00" + std::to_string(i) + "\"\nmemberID = \"0001\"\npassword = \"" +
               kPasswordDigest + "\"\n";
    }
    return day;
}

// Whether a folder lies on tmpfs, so that what is written there stays in memory.
bool OnTmpfs(const char* folder) {
    struct statfs status {};
    return ::statfs(folder, &status) == 0 && status.f_type == TMPFS_MAGIC;
}

// The write system calls a process has made so far; -1 when they cannot be read.
long long WriteCalls(pid_t pid) {
    std::ifstream io("/proc/" + std::to_string(pid) + "/io");
    std::string key;
    long long value = 0;
    while (io >> key >> value) {
        if (key == "syscw:") return value;
    }
    return -1;
}

// The write system calls of the simulator and of this program (the traders' library) so far.
struct CWrites {
    long long simulator;
    long long traders;
};

// The simulator and N logged-in traders, in a scratch directory for the files of both. The day's
// folder is in that directory, or on tmpfs when dayInMemory.
struct CBench {
    CBench(int traders, bool dayInMemory) {
        char pattern[] = "/tmp/sim-bench-XXXXXX";
        directory = ::mkdtemp(pattern);
        previous = std::filesystem::current_path();
        std::filesystem::current_path(directory);
        std::ofstream(directory / "bench.toml") << BenchDay();
        std::vector<std::string> arguments{"--quiet", "--config", (directory / "bench.toml").string()};
        if (dayInMemory) {
            char memoryPattern[] = "/dev/shm/sim-bench-XXXXXX";
            if (!OnTmpfs("/dev/shm") || ::mkdtemp(memoryPattern) == nullptr) {
                error = "no tmpfs at /dev/shm for the day's folder";
                return;
            }
            memoryDirectory = memoryPattern;
            arguments.insert(arguments.end(), {"--data-dir", (memoryDirectory / "day").string()});
        }
        simulator = std::make_unique<CSimProcess>(
            std::filesystem::read_symlink("/proc/self/exe").parent_path() / "../sim/exchange-sim", arguments);
        if (simulator->port == 0) return;
        for (int i = 1; i <= traders; ++i) {
            clients.push_back(std::make_unique<CBenchTrader>(i, countdown));
            if (!clients.back()->LogIn(simulator->port)) return;
        }
        error.clear();
    }
    ~CBench() {
        clients.clear();
        simulator.reset();
        std::filesystem::current_path(previous);
        std::filesystem::remove_all(directory);
        if (!memoryDirectory.empty()) std::filesystem::remove_all(memoryDirectory);
    }
    // Every trader sends count orders with the window; returns when all are answered.
    void Round(int count, int window) {
        countdown.Start(count * static_cast<int>(clients.size()));
        for (auto& client : clients) client->Run(count, window);
        countdown.Wait();
    }
    CWrites Writes() const { return {WriteCalls(simulator->Pid()), WriteCalls(::getpid())}; }

    std::filesystem::path directory, memoryDirectory, previous;
    std::unique_ptr<CSimProcess> simulator;
    CCountdown countdown;
    std::vector<std::unique_ptr<CBenchTrader>> clients;
    std::string error = "exchange-sim did not start (is it built?) or a login failed";
};

// Per order over the timed part: writes_per_order is the simulator's, trader_writes_per_order
// those of the traders' library (received packages and sync points), for comparison.
void CountWrites(benchmark::State& state, const CWrites& before, const CWrites& after, std::int64_t orders) {
    if (orders <= 0) return;
    const auto count = [&](const char* name, long long from, long long to) {
        if (from >= 0 && to >= 0) state.counters[name] = static_cast<double>(to - from) / static_cast<double>(orders);
    };
    count("writes_per_order", before.simulator, after.simulator);
    count("trader_writes_per_order", before.traders, after.traders);
}

// The rows of both benchmarks: one trader and eight with the day on disk, eight with it on tmpfs.
void Rows(benchmark::internal::Benchmark* rows) {
    rows->ArgNames({"traders", "day_in_memory"})->Args({1, 0})->Args({8, 0})->Args({8, 1});
    rows->UseRealTime()->Unit(benchmark::kMillisecond);
}

void BM_SustainedOrders(benchmark::State& state) {
    CBench bench(static_cast<int>(state.range(0)), state.range(1) != 0);
    if (!bench.error.empty()) return state.SkipWithError(bench.error.c_str());
    bench.Round(200, kWindow);  // warm-up
    const CWrites writes = bench.Writes();
    for (auto _ : state) bench.Round(kOrdersPerTraderPerIteration, kWindow);
    const std::int64_t orders = state.iterations() * kOrdersPerTraderPerIteration * state.range(0);
    CountWrites(state, writes, bench.Writes(), orders);
    state.SetItemsProcessed(orders);
}
BENCHMARK(BM_SustainedOrders)->Apply(Rows)->Iterations(5);

void BM_OrderToAnswer(benchmark::State& state) {
    CBench bench(static_cast<int>(state.range(0)), state.range(1) != 0);
    if (!bench.error.empty()) return state.SkipWithError(bench.error.c_str());
    bench.Round(200, 1);  // warm-up
    for (auto& client : bench.clients) client->TakeLatencies();
    const CWrites writes = bench.Writes();
    for (auto _ : state) bench.Round(kLatencyOrdersPerTrader, 1);
    std::vector<double> latencies;
    for (auto& client : bench.clients) {
        const std::vector<double> own = client->TakeLatencies();
        latencies.insert(latencies.end(), own.begin(), own.end());
    }
    std::sort(latencies.begin(), latencies.end());
    const auto percentile = [&](double p) { return latencies[static_cast<std::size_t>(p * static_cast<double>(latencies.size() - 1))]; };
    state.counters["p50_us"] = percentile(0.50);
    state.counters["p99_us"] = percentile(0.99);
    CountWrites(state, writes, bench.Writes(), static_cast<std::int64_t>(latencies.size()));
    state.SetItemsProcessed(static_cast<std::int64_t>(latencies.size()));
}
BENCHMARK(BM_OrderToAnswer)->Apply(Rows)->Iterations(1);

}  // namespace
