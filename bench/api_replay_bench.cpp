// Same-day re-login replay: 100,000 logged order returns restored from the received log and handed
// to the dispatcher (which calls the trader's callback for each), beside a baseline that reads the
// same content file raw with stdio, record header and data, and does nothing with them.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "api/APIHandler.h"
#include "api/ReceivedLog.h"
#include "public/PackageTypes.h"

using namespace quorex;

namespace {

constexpr std::uint32_t kPackages = 100'000;

class CountingTrader final : public CTraderApi {
public:
    long returns = 0;
    void onRecvRtnYqOrder(const TYqOrder*, const TTRspMsg*, const char*) override { ++returns; }
};

class NoContext final : public CDispatchContext {
public:
    ETradingDay BeginTradingDay(const char*, const char*, TTRspMsg&) override { return ETradingDay::kNew; }
    void AbandonSession() override {}
    void ReplayReceivedLog() override {}
    void AcknowledgeStandardData() override {}
};

// A scratch directory with a received log of kPackages order returns, made once.
class LoggedDay {
public:
    LoggedDay() {
        char pattern[] = "/tmp/quorex-replay-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) std::abort();
        m_directory = pattern;
        m_previous = std::filesystem::current_path();
        std::filesystem::current_path(m_directory);
        CXTPPackage received;
        TYqOrder order{};
        std::strcpy(order.instID, "HR0612");
        CReceivedLog log;
        log.Open("BENCH", false);
        for (std::uint32_t n = 1; n <= kPackages; ++n) {
            received.Prepare(tid::RtnYqOrder);
            std::snprintf(order.orderNo, sizeof order.orderNo, "%u", n);
            received.AddRecord(order);
            received.m_XTPHeader.SequenceSeries = 3;
            received.m_XTPHeader.SequenceNo = n;
            received.m_XTPHeader.ContentLength = static_cast<std::uint16_t>(received.Length());
            received.PrependHeader(received.m_XTPHeader);
            log.Append(received);
        }
    }
    ~LoggedDay() {
        std::filesystem::current_path(m_previous);
        std::filesystem::remove_all(m_directory);
    }

private:
    std::filesystem::path m_directory, m_previous;
};

LoggedDay& Day() {
    static LoggedDay day;
    return day;
}

void BM_ReplayThroughTheDispatcher(benchmark::State& state) {
    Day();
    CountingTrader trader;
    NoContext context;
    for (auto _ : state) {
        CReceivedLog log;
        log.Open("BENCH", true);
        log.Replay([&](const CXTPPackage& package) { DispatchPackage(trader, context, package); });
    }
    if (trader.returns != static_cast<long>(kPackages) * static_cast<long>(state.iterations())) state.SkipWithError("lost packages");
    state.SetItemsProcessed(state.iterations() * kPackages);
}
BENCHMARK(BM_ReplayThroughTheDispatcher)->Unit(benchmark::kMillisecond);

void BM_RawReadOfTheSameFile(benchmark::State& state) {
    Day();
    std::uint8_t record[4096];
    for (auto _ : state) {
        std::FILE* file = std::fopen("logBENCH.con", "rb");
        std::uint32_t header[2];
        std::uint32_t count = 0;
        while (std::fread(header, sizeof header, 1, file) == 1 && header[0] <= sizeof record &&
               std::fread(record, 1, header[0], file) == header[0])
            ++count;
        std::fclose(file);
        benchmark::DoNotOptimize(record);
        if (count != kPackages) state.SkipWithError("short file");
    }
    state.SetItemsProcessed(state.iterations() * kPackages);
}
BENCHMARK(BM_RawReadOfTheSameFile)->Unit(benchmark::kMillisecond);

}  // namespace
