#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <random>
#include <vector>

#include "client/shell/RecordIndex.h"
#include "client/shell/RecordTable.h"

using namespace kvt;

namespace {

// A test record: a small key with many duplicates and a serial number that tells insertions apart.
struct Item {
    int key;
    int serial;
};

int CompareItemKey(const void* a, const void* b) {
    const int left = static_cast<const Item*>(a)->key, right = static_cast<const Item*>(b)->key;
    return left < right ? -1 : (left > right ? 1 : 0);
}

int CompareItemSerial(const void* a, const void* b) {
    const int left = static_cast<const Item*>(a)->serial, right = static_cast<const Item*>(b)->serial;
    return left < right ? -1 : (left > right ? 1 : 0);
}

// Checks heights and balance below node; returns its height.
int CheckSubtree(const CRecordIndex::CNode* node, std::size_t& count) {
    if (node == nullptr) return 0;
    ++count;
    const int left = CheckSubtree(node->left, count);
    const int right = CheckSubtree(node->right, count);
    EXPECT_EQ(node->height, 1 + std::max(left, right));
    EXPECT_LE(std::abs(left - right), 1);
    return node->height;
}

// The AVL invariant, and the order: in key order, equal keys by insertion (serials grow).
void CheckAvl(const CRecordIndex& index) {
    std::size_t count = 0;
    CheckSubtree(index.Root(), count);
    EXPECT_EQ(count, index.Size());
    const Item* previous = nullptr;
    index.ForEachInOrder([&](const void* record) {
        const auto* item = static_cast<const Item*>(record);
        if (previous != nullptr) {
            const int order = index.Compare()(previous, item);
            EXPECT_LE(order, 0);
            if (order == 0) {
                EXPECT_LT(previous->serial, item->serial);
            }
        }
        previous = item;
    });
}

// Equal keys must come out in insertion order, and the in-order walk must be sorted.
void CheckAgainstModel(const CRecordIndex& index, const std::multimap<int, int>& model) {
    std::vector<std::pair<int, int>> walked;
    index.ForEachInOrder([&](const void* record) {
        const auto* item = static_cast<const Item*>(record);
        walked.emplace_back(item->key, item->serial);
    });
    const std::vector<std::pair<int, int>> expected(model.begin(), model.end());
    EXPECT_EQ(walked, expected);
}

TEST(RecordIndex, RandomInsertsRemovalsFindsAndClearsMatchAMultimapAndStayAvl) {
    std::minstd_rand random(20261208);
    std::vector<std::unique_ptr<Item>> items;
    std::vector<const Item*> live;
    CRecordIndex index(CompareItemKey);
    std::multimap<int, int> model;
    int serial = 0;
    for (int step = 0; step < 20000; ++step) {
        const auto action = random() % 1000;
        if (action < 2) {
            index.Clear();
            model.clear();
            live.clear();
        } else if (action < 600) {
            items.push_back(std::make_unique<Item>(Item{static_cast<int>(random() % 500), serial++}));
            index.Insert(items.back().get());
            live.push_back(items.back().get());
            model.emplace(items.back()->key, items.back()->serial);
        } else if (action < 800 && !live.empty()) {
            // The very record goes, not another one of its key.
            const std::size_t pick = random() % live.size();
            const Item* gone = live[pick];
            ASSERT_TRUE(index.Remove(gone));
            EXPECT_FALSE(index.Remove(gone));
            live.erase(live.begin() + static_cast<std::ptrdiff_t>(pick));
            const auto range = model.equal_range(gone->key);
            model.erase(std::find_if(range.first, range.second, [&](const auto& entry) { return entry.second == gone->serial; }));
        } else {
            const Item probe{static_cast<int>(random() % 520), -1};
            const auto* found = static_cast<const Item*>(index.FindFirst(&probe));
            const auto expected = model.find(probe.key);  // the first of equal keys in a multimap
            if (expected == model.end()) {
                EXPECT_EQ(found, nullptr);
            } else {
                ASSERT_NE(found, nullptr);
                EXPECT_EQ(found->serial, expected->second);
            }
        }
        CheckAvl(index);
        if (testing::Test::HasFailure()) FAIL() << "at step " << step;
    }
    CheckAgainstModel(index, model);
}

TEST(RecordIndex, AscendingAndDescendingRunsStayLogarithmic) {
    for (bool ascending : {true, false}) {
        std::vector<Item> items(4096);
        CRecordIndex index(CompareItemKey);
        for (int i = 0; i < 4096; ++i) {
            items[static_cast<std::size_t>(i)] = {ascending ? i : 4096 - i, i};
            index.Insert(&items[static_cast<std::size_t>(i)]);
        }
        CheckAvl(index);
        // A perfectly balanced tree of 4096 nodes has height 13; AVL allows at most 1.44 log2 n.
        EXPECT_LE(index.Root()->height, 17);
    }
}

TEST(RecordIndex, AllEqualKeysKeepInsertionOrder) {
    std::vector<Item> items(300);
    CRecordIndex index(CompareItemKey);
    std::multimap<int, int> model;
    for (int i = 0; i < 300; ++i) {
        items[static_cast<std::size_t>(i)] = {7, i};
        index.Insert(&items[static_cast<std::size_t>(i)]);
        model.emplace(7, i);
        CheckAvl(index);
    }
    CheckAgainstModel(index, model);
    const Item probe{7, -1};
    EXPECT_EQ(index.FindFirst(&probe), &items[0]);
}

TEST(RecordTable, RandomSequencesMatchAMultimapInEveryIndex) {
    std::minstd_rand random(7);
    CRecordTable table(sizeof(Item), {CompareItemKey, CompareItemSerial});
    std::multimap<int, int> model;
    std::vector<const void*> addresses;
    std::vector<Item> copies;
    int serial = 0;
    for (int step = 0; step < 5000; ++step) {
        const auto action = random() % 1000;
        if (action < 3) {
            table.Clear();
            model.clear();
            addresses.clear();
            copies.clear();
        } else if (action < 800) {
            const Item item{static_cast<int>(random() % 300), serial++};
            addresses.push_back(table.Insert(&item));
            copies.push_back(item);
            model.emplace(item.key, item.serial);
        } else {
            const Item probe{static_cast<int>(random() % 310), -1};
            const auto* found = static_cast<const Item*>(table.Find(&probe));
            const auto expected = model.find(probe.key);
            if (expected == model.end()) {
                EXPECT_EQ(found, nullptr);
            } else {
                ASSERT_NE(found, nullptr);
                EXPECT_EQ(found->serial, expected->second);
            }
        }
        CheckAvl(table.Index(0));
        CheckAvl(table.Index(1));
        if (testing::Test::HasFailure()) FAIL() << "at step " << step;
    }
    CheckAgainstModel(table.Index(0), model);
    // Records never moved, and arrival order is kept.
    ASSERT_EQ(table.Size(), addresses.size());
    for (std::size_t i = 0; i < addresses.size(); ++i) {
        ASSERT_EQ(table.At(i), addresses[i]);
        EXPECT_EQ(std::memcmp(addresses[i], &copies[i], sizeof(Item)), 0);
    }
}

}  // namespace
