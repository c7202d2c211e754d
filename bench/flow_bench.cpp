// Flow costs: appending 100-byte records, beside a baseline that writes the same bytes with raw
// stdio (8-byte header, data, flush, and the 4-byte id entry with a flush every 100th record); and
// reopening, with reuse, a flow of one million records. Files live in a scratch directory under
// /tmp that is removed at exit; both append loops start the files again every 100000 records
// (outside the timing) so that the runs do not fill the disk.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "public/Flow.h"

using namespace quorex;

namespace {

constexpr std::size_t kRecordLength = 100;
constexpr std::uint32_t kRecordsPerFile = 100'000;
constexpr std::uint32_t kReopenRecords = 1'000'000;

class ScratchFiles {
public:
    ScratchFiles() {
        char pattern[] = "/tmp/quorex-flow-bench-XXXXXX";
        if (::mkdtemp(pattern) == nullptr) std::abort();
        m_path = pattern;
    }
    ~ScratchFiles() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    std::string File(const char* name) const { return m_path + "/" + name; }

private:
    std::string m_path;
};

ScratchFiles& Scratch() {
    static ScratchFiles files;
    return files;
}

const std::vector<std::uint8_t>& Record() {
    static const std::vector<std::uint8_t> record(kRecordLength, 0x5A);
    return record;
}

void BM_FlowAppend(benchmark::State& state) {
    const std::string id = Scratch().File("append.id");
    const std::string content = Scratch().File("append.con");
    CFlow flow(id.c_str(), content.c_str(), false);
    for (auto _ : state) {
        if (flow.Count() == kRecordsPerFile) {
            state.PauseTiming();
            flow.Open(id.c_str(), content.c_str(), false);
            state.ResumeTiming();
        }
        flow.Append(Record(), 1'700'000'000);
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FlowAppend);

// The same bytes and flushes as an append, written by hand.
void BM_RawFwriteBaseline(benchmark::State& state) {
    const std::string id = Scratch().File("raw.id");
    const std::string content = Scratch().File("raw.con");
    std::FILE* idFile = std::fopen(id.c_str(), "w+b");
    std::FILE* contentFile = std::fopen(content.c_str(), "w+b");
    std::uint32_t count = 0;
    std::uint32_t size = 0;
    for (auto _ : state) {
        if (count == kRecordsPerFile) {
            state.PauseTiming();
            idFile = std::freopen(id.c_str(), "w+b", idFile);
            contentFile = std::freopen(content.c_str(), "w+b", contentFile);
            count = size = 0;
            state.ResumeTiming();
        }
        const std::uint32_t header[2] = {kRecordLength, 1'700'000'000};
        std::fwrite(header, sizeof header, 1, contentFile);
        std::fwrite(Record().data(), 1, kRecordLength, contentFile);
        std::fflush(contentFile);
        size += static_cast<std::uint32_t>(sizeof header + kRecordLength);
        if (++count % 100 == 0) {
            std::fwrite(&size, sizeof size, 1, idFile);
            std::fflush(idFile);
        }
    }
    std::fclose(idFile);
    std::fclose(contentFile);
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RawFwriteBaseline);

void BM_FlowReopenMillionRecords(benchmark::State& state) {
    const std::string id = Scratch().File("million.id");
    const std::string content = Scratch().File("million.con");
    // Built once: the library calls this function again for every round of iterations.
    static const bool built = [&] {
        CFlow flow(id.c_str(), content.c_str(), false);
        for (std::uint32_t i = 0; i < kReopenRecords; ++i) flow.Append(Record(), 1'700'000'000);
        return true;
    }();
    benchmark::DoNotOptimize(built);
    for (auto _ : state) {
        CFlow flow(id.c_str(), content.c_str(), true);
        if (flow.Count() != kReopenRecords) state.SkipWithError("wrong record count after reopening");
        benchmark::DoNotOptimize(flow.Count());
    }
}
BENCHMARK(BM_FlowReopenMillionRecords)->Unit(benchmark::kMicrosecond);

}  // namespace
