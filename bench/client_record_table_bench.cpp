// CRecordTable at 100,000 records of TElctIndenture (140 bytes) keyed by indentNo, against a
// std::multimap from the same key to a copy of the record: inserting all of them into an empty
// table, and finding the first record of each key. Keys are random with some duplicates.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "client/shell/RecordKeys.h"
#include "client/shell/RecordTable.h"
#include "quorex/Records.h"

using namespace kvt;

namespace {

constexpr std::size_t kRecords = 100'000;
using Key = std::array<char, sizeof(TElctIndenture::indentNo)>;

const std::vector<TElctIndenture>& Indentures() {
    static const std::vector<TElctIndenture> indentures = [] {
        std::vector<TElctIndenture> all(kRecords);
        std::mt19937 random(1208);
        for (std::size_t i = 0; i < kRecords; ++i) {
            TElctIndenture& indenture = all[i];
            indenture = TElctIndenture{};
            std::snprintf(indenture.indentNo, sizeof indenture.indentNo, "E%09u",
                          static_cast<unsigned>(random() % (kRecords * 4 / 5)));
            indenture.avaAmount = static_cast<int>(i);
        }
        return all;
    }();
    return indentures;
}

Key KeyOf(const TElctIndenture& indenture) {
    Key key;
    std::memcpy(key.data(), indenture.indentNo, key.size());
    return key;
}

void BM_RecordTableInsert(benchmark::State& state) {
    const auto& indentures = Indentures();
    CRecordTable table(sizeof(TElctIndenture), {CompareElctIndentureKey});
    for (auto _ : state) {
        table.Clear();
        for (const TElctIndenture& indenture : indentures) table.Insert(&indenture);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));
}
BENCHMARK(BM_RecordTableInsert)->Unit(benchmark::kMillisecond);

void BM_RecordTableBaselineMultimapInsert(benchmark::State& state) {
    const auto& indentures = Indentures();
    std::multimap<Key, TElctIndenture> map;
    for (auto _ : state) {
        map.clear();
        for (const TElctIndenture& indenture : indentures) map.emplace(KeyOf(indenture), indenture);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));
}
BENCHMARK(BM_RecordTableBaselineMultimapInsert)->Unit(benchmark::kMillisecond);

void BM_RecordTableFind(benchmark::State& state) {
    const auto& indentures = Indentures();
    CRecordTable table(sizeof(TElctIndenture), {CompareElctIndentureKey});
    for (const TElctIndenture& indenture : indentures) table.Insert(&indenture);
    for (auto _ : state) {
        std::int64_t found = 0;
        for (const TElctIndenture& indenture : indentures) found += table.Find(&indenture) != nullptr;
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));
}
BENCHMARK(BM_RecordTableFind)->Unit(benchmark::kMillisecond);

void BM_RecordTableBaselineMultimapFind(benchmark::State& state) {
    const auto& indentures = Indentures();
    std::multimap<Key, TElctIndenture> map;
    for (const TElctIndenture& indenture : indentures) map.emplace(KeyOf(indenture), indenture);
    for (auto _ : state) {
        std::int64_t found = 0;
        for (const TElctIndenture& indenture : indentures) {
            const Key key = KeyOf(indenture);
            const auto first = map.lower_bound(key);  // the first of equal keys
            found += first != map.end() && first->first == key;
        }
        benchmark::DoNotOptimize(found);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(kRecords));
}
BENCHMARK(BM_RecordTableBaselineMultimapFind)->Unit(benchmark::kMillisecond);

}  // namespace
