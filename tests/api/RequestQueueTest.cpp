// The dialog flow's request queue: requests leave in the order they were queued, also those queued
// while a drain is sending, and a drain that fails part-way neither loses the queue's blocks nor
// sends a request twice.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

#include "api/RequestQueue.h"
#include "public/PackageTypes.h"

using namespace quorex;

namespace {

bool QueueOrder(CRequestQueue& queue, const std::string& requestId) {
    return queue.Build(tid::ReqYqOrder, requestId.c_str(), [](CXTPPackage& package) {
        TYqOrder order{};
        order.amount = 7;
        return package.AddRecord(order);
    });
}

std::vector<std::string> DrainIds(CRequestQueue& queue) {
    std::vector<std::string> ids;
    queue.Drain([&](CXTPPackage& package) { ids.emplace_back(package.m_XTPHeader.RootID); });
    return ids;
}

}  // namespace

TEST(RequestQueue, RequestsQueuedDuringADrainFollowEverythingQueuedBefore) {
    CRequestQueue queue;
    for (const char* id : {"a", "b", "c"}) ASSERT_TRUE(QueueOrder(queue, id));
    std::vector<std::string> sent;
    queue.Drain([&](CXTPPackage& package) {
        sent.emplace_back(package.m_XTPHeader.RootID);
        // As a callback on the reactor thread would: queue while the queue is being sent.
        if (sent.size() == 1) {
            EXPECT_TRUE(QueueOrder(queue, "d"));
        }
        EXPECT_EQ(package.Length(), 4u + 107u);
    });
    EXPECT_EQ(sent, (std::vector<std::string>{"a", "b", "c"}));
    EXPECT_EQ(DrainIds(queue), std::vector<std::string>{"d"});
    EXPECT_TRUE(DrainIds(queue).empty());
    EXPECT_FALSE(queue.Build(0x00000FFF, nullptr, [](CXTPPackage&) { return true; }));  // not in the catalogue
    // A request whose records do not all fit is not queued.
    EXPECT_FALSE(queue.Build(tid::ReqYqOrder, "e", [](CXTPPackage&) { return false; }));
    EXPECT_TRUE(DrainIds(queue).empty());
}

TEST(RequestQueue, ADrainThatThrowsKeepsTheBlocksAndSendsNothingTwice) {
    CRequestQueue queue;
    // Enough requests for several 30000-byte blocks.
    const int count = 2 * CRequestQueue::kBlockSize / (56 + 111) + 10;
    for (int i = 0; i < count; ++i) ASSERT_TRUE(QueueOrder(queue, std::to_string(i)));
    int sent = 0;
    EXPECT_THROW(queue.Drain([&](CXTPPackage&) {
        if (++sent == 5) throw std::runtime_error("send failed");
    }),
                 std::runtime_error);
    // The failed drain's requests are gone; the queue works on with its blocks.
    EXPECT_TRUE(DrainIds(queue).empty());
    for (int i = 0; i < count; ++i) ASSERT_TRUE(QueueOrder(queue, std::to_string(i)));
    const std::vector<std::string> ids = DrainIds(queue);
    ASSERT_EQ(ids.size(), static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i) EXPECT_EQ(ids[i], std::to_string(i));
}

TEST(RequestQueue, ThreadsQueueWhileTheQueueIsDrainedAndKeepTheirOrder) {
    CRequestQueue queue;
    constexpr int kThreads = 4;
    constexpr int kEach = 3000;
    std::atomic<int> running{kThreads};
    std::vector<std::thread> threads;
    for (int t = 0; t < kThreads; ++t) {
        threads.emplace_back([&, t] {
            for (int i = 0; i < kEach; ++i) QueueOrder(queue, std::to_string(t * 10000 + i));
            --running;
        });
    }
    std::vector<int> next(kThreads, 0);
    int received = 0;
    const auto take = [&] {
        for (const std::string& id : DrainIds(queue)) {
            const int number = std::atoi(id.c_str());
            EXPECT_EQ(number % 10000, next[number / 10000]++) << "thread " << number / 10000 << " out of order";
            ++received;
        }
    };
    while (running.load() > 0) take();
    for (std::thread& thread : threads) thread.join();
    take();
    EXPECT_EQ(received, kThreads * kEach);
}
