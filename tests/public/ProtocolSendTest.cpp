// The sending side of the protocol stack: framing, the write queue and its partial writes, sends
// from other threads, the flow pump and session shutdown.
#include <gtest/gtest.h>

#include <sys/socket.h>

#include <thread>

#include "tests/public/StackTestFixture.h"

using namespace quorex;
using namespace quorex::test;

namespace {

// Hands out logout packages for traders "1", "2", ... up to a total.
class CCountingSource final : public CPackageSource {
public:
    explicit CCountingSource(int total) : m_total(total) {}
    CXTPPackage* NextPackage() override {
        if (taken == m_total) return nullptr;
        const std::string number = std::to_string(++taken);
        BuildLogout(m_package, number);
        m_package.SetRootID(number.c_str());
        return &m_package;
    }
    int taken = 0;

private:
    int m_total;
    CXTPPackage m_package;
};

// The number a CCountingSource gave the package (a package being built has no parsed fields).
int PackageNumber(const CXTPPackage& package) { return std::atoi(package.m_XTPHeader.RootID); }

}  // namespace

TEST_F(StackTest, SentPackagesCarryTheHandlersHeaderAndTheFrameTypeControl) {
    const int sent = RunOnReactor(reactor, [&] {
        CXTPPackage package;
        BuildLogout(package, "plain");
        package.SetRootID("req-1");
        package.m_XTPHeader.SenderID3 = 33;
        package.m_XTPHeader.SequenceNo = 99;  // not the caller's to choose
        int result = dialog->SendPackage(package);
        const std::uint8_t on = 1;
        const std::uint8_t off = 0;
        dialog->Control(kControlFrameType, &on);
        BuildLogout(package, "switched");
        result = std::min(result, member->SendPackage(package));
        dialog->Control(kControlFrameType, &off);
        BuildLogout(package, "back");
        return std::min(result, dialog->SendPackage(package));
    });
    EXPECT_GT(sent, 0);
    const std::vector<PeerFrame> frames = PeerReceive(3);
    ASSERT_EQ(frames.size(), 3u);
    EXPECT_EQ(frames[0].type, kFrameTypeNormal);
    EXPECT_EQ(frames[0].trader, "plain");
    EXPECT_EQ(frames[0].header.SequenceSeries, 1);
    EXPECT_EQ(frames[0].header.Chain, 'S');
    EXPECT_EQ(frames[0].header.Tid, tid::ReqTraderLogout);
    EXPECT_EQ(frames[0].header.SequenceNo, 0u);
    EXPECT_STREQ(frames[0].header.RootID, "req-1");
    EXPECT_EQ(frames[0].header.SenderID3, 33u);
    EXPECT_EQ(frames[1].type, kFrameTypeSwitched);
    EXPECT_EQ(frames[1].header.SequenceSeries, 2);
    EXPECT_EQ(frames[2].type, kFrameTypeNormal);
}

TEST_F(StackTest, PartialWriteStopsWritingUntilTheSocketIsWritableAgain) {
    channel->SetWriteCap(3000);
    RunOnReactor(reactor, [&] {
        CXTPPackage package;
        for (int i = 0; i < 3; ++i) {
            BuildVariable(package, 3300);
            dialog->SendPackage(package);
        }
        return 0;
    });
    const std::vector<PeerFrame> frames = PeerReceive(3);
    ASSERT_EQ(frames.size(), 3u);
    for (const PeerFrame& frame : frames) EXPECT_EQ(frame.header.ContentLength, 3304);
    Settle(reactor);  // the last write is logged once it has returned

    // Each writable notice writes until a write takes fewer bytes than offered, never more than
    // 4096 bytes a call.
    const std::vector<CSocketPairChannel::Write> writes = channel->Writes();
    int total = 0;
    int notices = 0;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        if (writes[i].asked < 0) {
            ++notices;
            continue;
        }
        EXPECT_LE(writes[i].asked, 4096);
        total += writes[i].written;
        const bool last = i + 1 == writes.size() || writes[i + 1].asked < 0;
        if (writes[i].written < writes[i].asked) {
            EXPECT_TRUE(last) << "write " << i << " went on after a partial one";
        }
    }
    EXPECT_EQ(static_cast<std::size_t>(total), frames.size() * frames[0].length);
    EXPECT_GE(notices, 4);
}

TEST_F(StackTest, SeveralThreadsSendThroughTheReactorToASlowPeer) {
    const int small = 4096;
    ASSERT_EQ(::setsockopt(sessionSocket, SOL_SOCKET, SO_SNDBUF, &small, sizeof small), 0);
    ASSERT_EQ(::setsockopt(peer, SOL_SOCKET, SO_RCVBUF, &small, sizeof small), 0);
    constexpr int kThreads = 4;
    constexpr int kEach = 25;
    std::vector<std::thread> senders;
    for (int t = 0; t < kThreads; ++t) {
        senders.emplace_back([&, t] {
            CXTPPackage package;
            for (int i = 0; i < kEach; ++i) {
                // Large packages, so the write queue spans blocks and the socket fills up.
                BuildVariable(package, 3000);
                package.SetRootID(std::to_string(t * 100 + i).c_str());
                EXPECT_GT(dialog->SendThroughReactor(package), 0);
            }
        });
    }
    // Read slowly, a little at a time, while the senders are still at it.
    std::vector<PeerFrame> frames;
    while (frames.size() < kThreads * kEach) {
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        const std::vector<PeerFrame> more = PeerReceive(1);
        if (more.empty()) break;
        frames.insert(frames.end(), more.begin(), more.end());
    }
    for (auto& sender : senders) sender.join();
    Settle(reactor);
    ASSERT_EQ(frames.size(), static_cast<std::size_t>(kThreads * kEach));
    int next[kThreads] = {};
    for (const PeerFrame& frame : frames) {
        const int id = std::atoi(frame.header.RootID);
        EXPECT_EQ(id % 100, next[id / 100]++) << "thread " << id / 100 << " out of order";
    }
    bool partial = false;
    for (const auto& write : channel->Writes()) {
        EXPECT_LE(write.asked, 4096);
        if (write.asked > 0 && write.written < write.asked) partial = true;
    }
    EXPECT_TRUE(partial);
    EXPECT_TRUE(log.Disconnects().empty());
}

TEST_F(StackTest, PackageQueuedByAUserThreadGoesOutRightAfterAWakeup) {
    Settle(reactor);
    const auto start = std::chrono::steady_clock::now();
    dialog->Queue("queued");
    reactor.Wakeup();
    const std::vector<PeerFrame> frames = PeerReceive(1);
    // Without the wake-up the loop would sleep until its heartbeat timer, 5 s of the manual clock
    // it never reaches.
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(1));
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].trader, "queued");
}

TEST_F(StackTest, FlowPumpSendsAtMostFortyFilteredPackagesPerPoll) {
    CCountingSource source(100);
    const int takenInOnePoll = RunOnReactor(reactor, [&] {
        dialog->filter = [](CXTPPackage& package) { return PackageNumber(package) % 5 != 0; };
        dialog->SetPackageSource(&source);
        dialog->Poll();
        return source.taken;
    });
    // 40 sent: numbers 1..49 without the 9 multiples of five.
    EXPECT_EQ(takenInOnePoll, 49);
    // Later passes poll again once the write queue has drained, until the source is empty.
    const std::vector<PeerFrame> frames = PeerReceive(80);
    ASSERT_EQ(frames.size(), 80u);
    int expected = 1;
    for (const PeerFrame& frame : frames) {
        if (expected % 5 == 0) ++expected;
        EXPECT_EQ(frame.trader, std::to_string(expected++));
    }
    RunOnReactor(reactor, [&] {
        dialog->SetPackageSource(nullptr);
        return 0;
    });
}

TEST_F(StackTest, ShutdownFlushesDisconnectsOnceAndDestroysTheSession) {
    RunOnReactor(reactor, [&] {
        CXTPPackage package;
        BuildLogout(package, "last");
        dialog->SendPackage(package);
        session->Shutdown(0x1234);
        return 0;
    });
    const std::vector<PeerFrame> frames = PeerReceive(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_EQ(frames[0].trader, "last");
    std::uint8_t byte;
    EXPECT_EQ(::recv(peer, &byte, 1, 0), 0);  // the channel is closed
    EXPECT_TRUE(WaitOnReactor(reactor, [&] { return log.IsDestroyed(); }));
    EXPECT_EQ(log.Disconnects(), std::vector<int>{0x1234});
}

TEST_F(StackTest, ShutdownAfterTheLoopStoppedLeavesTheSessionToTheReactor) {
    reactor.Stop();
    session->Shutdown(7);
    EXPECT_EQ(log.Disconnects(), std::vector<int>{7});
    EXPECT_FALSE(log.IsDestroyed());  // freed with the reactor
}

TEST(ChannelWriteQueue, KeepsPiecesWholeAndInOrderAcrossBlocks) {
    CChannelWriteQueue queue;
    std::vector<std::uint8_t> piece(8000);
    for (int n = 0; n < 3; ++n) {
        std::fill(piece.begin(), piece.end(), static_cast<std::uint8_t>(n + 1));
        ASSERT_TRUE(queue.Append(piece));
    }
    EXPECT_FALSE(queue.Append(std::vector<std::uint8_t>(CChannelWriteQueue::kBlockSize + 1)));
    EXPECT_EQ(queue.Size(), 24000u);
    // The third piece did not fit behind the first two, so the first block ends after 16000.
    std::vector<std::uint8_t> drained;
    std::vector<std::size_t> runs;
    while (!queue.IsEmpty()) {
        const auto run = queue.Front(4096);
        runs.push_back(run.size());
        drained.insert(drained.end(), run.begin(), run.end());
        queue.Consume(run.size());
    }
    EXPECT_EQ(runs, (std::vector<std::size_t>{4096, 4096, 4096, 3712, 4096, 3904}));
    ASSERT_EQ(drained.size(), 24000u);
    for (std::size_t i = 0; i < drained.size(); ++i) ASSERT_EQ(drained[i], i / 8000 + 1) << i;
}
