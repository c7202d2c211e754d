// The receiving side of the protocol stack and the session's ending rules, over a socketpair
// with a scripted peer.
#include <gtest/gtest.h>

#include <cstdio>

#include "public/WireBytes.h"
#include "quorex/Errors.h"
#include "tests/public/StackTestFixture.h"

using namespace quorex;
using namespace quorex::test;

TEST_F(StackTest, FramesSplitAtEveryByteBoundaryAreDeliveredWhole) {
    const Bytes heartbeat = HeartbeatFrame();
    std::size_t expected = 0;
    for (std::size_t split = 1;; ++split) {
        Bytes stream = LogoutFrame(1, 0, "A");
        stream.insert(stream.end(), heartbeat.begin(), heartbeat.end());
        const Bytes second = LogoutFrame(2, static_cast<std::uint32_t>(split), "B");
        stream.insert(stream.end(), second.begin(), second.end());
        if (split == stream.size()) break;
        PeerSend(std::span(stream).first(split));
        ASSERT_TRUE(WaitUntilSessionRead()) << split;
        PeerSend(std::span(stream).subspan(split));
        expected += 2;
        ASSERT_TRUE(WaitForDeliveries(expected)) << split;
    }
    const std::vector<Delivery> deliveries = log.Deliveries();
    ASSERT_EQ(deliveries.size(), expected);
    for (std::size_t i = 0; i < deliveries.size(); i += 2) {
        EXPECT_EQ(deliveries[i].trader, "A");
        EXPECT_EQ(deliveries[i + 1].trader, "B");
        EXPECT_EQ(deliveries[i + 1].sequenceNo, i / 2 + 1);
        EXPECT_EQ(deliveries[i].length, XTPHLEN + kFieldHeaderLength + 12);
    }
    EXPECT_TRUE(log.Disconnects().empty());
}

TEST_F(StackTest, LongestValidFramesFitTheReceiveBuffer) {
    const Bytes longest = LongestFrame();
    // First in pieces, so that an incomplete frame waits in the buffer for its last byte.
    PeerSend(std::span(longest).first(1));
    ASSERT_TRUE(WaitUntilSessionRead());
    PeerSend(std::span(longest).subspan(1, 4000));
    ASSERT_TRUE(WaitUntilSessionRead());
    PeerSend(std::span(longest).subspan(4001));
    ASSERT_TRUE(WaitForDeliveries(1));
    // Then a short frame and two of the longest back to back.
    PeerSend({LogoutFrame(1, 0, "short"), longest, longest});
    ASSERT_TRUE(WaitForDeliveries(4));
    const std::vector<Delivery> deliveries = log.Deliveries();
    EXPECT_EQ(deliveries[0].length, kMaxFrameLength);
    EXPECT_EQ(deliveries[1].trader, "short");
    EXPECT_EQ(deliveries[3].length, kMaxFrameLength);
    EXPECT_TRUE(log.Disconnects().empty());
}

TEST_F(StackTest, PeerClosingMidFrameEndsTheSessionWithReadFailure) {
    const Bytes frame = LogoutFrame(1, 0, "cut");
    PeerSend(std::span(frame).first(30));
    ASSERT_TRUE(WaitUntilSessionRead());
    ::close(peer);
    peer = -1;
    ASSERT_TRUE(WaitForDisconnect());
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventReadFailed});
    EXPECT_TRUE(WaitOnReactor(reactor, [&] { return log.IsDestroyed(); }));
    EXPECT_TRUE(log.Deliveries().empty());
    // Its heartbeat timer went with it.
    AdvanceSeconds(300);
    EXPECT_EQ(log.Disconnects().size(), 1u);
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(reactor.GetSessionCount()); }), 0);
}

TEST_F(StackTest, OversizeFrameEndsTheSessionWithFrameStreamBroken) {
    Bytes oversize = {kFrameTypeNormal, 0, 0, 0};
    wire::PutU16(oversize.data() + 2, 5000);
    oversize.resize(200, 0);
    PeerSend({LogoutFrame(1, 0, "before"), oversize});
    ASSERT_TRUE(WaitForDisconnect());
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventFrameStreamBroken});
    EXPECT_EQ(log.Traders(), std::vector<std::string>{"before"});
}

TEST_F(StackTest, PackageWithWrongContentLengthEndsTheSessionWithPackageBroken) {
    Bytes frame = LogoutFrame(1, 0, "bad");
    // ContentLength sits 2 bytes into the XTP header, right after the 4-byte frame header.
    const std::uint16_t contentLength = wire::LoadU16(frame.data() + kFrameHeaderLength + 2);
    wire::PutU16(frame.data() + kFrameHeaderLength + 2, static_cast<std::uint16_t>(contentLength + 4));
    testing::internal::CaptureStdout();
    PeerSend({frame, LogoutFrame(1, 0, "after")});
    const bool disconnected = WaitForDisconnect();
    std::fflush(stdout);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(disconnected);
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventPackageBroken});
    EXPECT_TRUE(log.Deliveries().empty());
    EXPECT_NE(printed.find("m_XTPHeader.ContentLength="), std::string::npos);
}

TEST_F(StackTest, UnknownFrameTypeAndSeriesAreDroppedWithoutEndingTheSession) {
    PeerSend({LogoutFrame(1, 0, "type3", kFrameTypeSwitched), LogoutFrame(9, 0, "series9"), LogoutFrame(1, 0, "ok")});
    ASSERT_TRUE(WaitForDeliveries(1));
    Quiesce();
    EXPECT_EQ(log.Traders(), std::vector<std::string>{"ok"});
    EXPECT_TRUE(log.Disconnects().empty());
}

TEST_F(StackTest, SyncPointDropsWhatWasDeliveredBeforeAndMovesWithEachDelivery) {
    ASSERT_EQ(RunOnReactor(reactor,
                           [&] {
                               TXTPHeader point{};
                               point.SequenceSeries = 2;
                               point.SequenceNo = 10;
                               member->GetSyncPoint()->Advance(point);
                               return 0;
                           }),
              0);
    testing::internal::CaptureStdout();
    PeerSend({LogoutFrame(2, 9, "nine"), LogoutFrame(2, 10, "ten"), LogoutFrame(2, 11, "eleven"),
              LogoutFrame(2, 0, "unseq")});
    const bool delivered = WaitForDeliveries(2);
    std::fflush(stdout);
    const std::string printed = testing::internal::GetCapturedStdout();
    ASSERT_TRUE(delivered);
    EXPECT_EQ(log.Traders(), (std::vector<std::string>{"eleven", "unseq"}));
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(member->GetSyncPoint()->Point().SequenceNo); }), 11);
    EXPECT_NE(printed.find("No=9,m_pSyncPoint No=10"), std::string::npos);
    EXPECT_NE(printed.find("No=10,m_pSyncPoint No=10"), std::string::npos);
}

TEST_F(StackTest, RefusedDeliveryConsumesThePackageButKeepsTheSyncPoint) {
    RunOnReactor(reactor, [&] { return member->deliverResult = -1; });
    PeerSend({LogoutFrame(2, 3, "refused"), LogoutFrame(2, 4, "refused2")});
    ASSERT_TRUE(WaitForDeliveries(2));
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(member->GetSyncPoint()->Point().SequenceNo); }), 0);
    RunOnReactor(reactor, [&] { return member->deliverResult = 0; });
    PeerSend({LogoutFrame(2, 4, "accepted")});
    ASSERT_TRUE(WaitForDeliveries(3));
    Quiesce();
    // Nothing was delivered twice, and the stream goes on.
    EXPECT_EQ(log.Traders(), (std::vector<std::string>{"refused", "refused2", "accepted"}));
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(member->GetSyncPoint()->Point().SequenceNo); }), 4);
    EXPECT_TRUE(log.Disconnects().empty());
}

TEST_F(StackTest, HeartbeatGoesOutAfterSixtySilentSecondsAndSilenceEndsTheSessionAfter120) {
    for (int second = 5; second <= 60; second += 5) {
        AdvanceSeconds(5);
        ASSERT_TRUE(PeerHasNothing()) << second;
    }
    AdvanceSeconds(5);  // 65 s: more than 60 since the session last sent
    const std::vector<PeerFrame> frames = PeerReceive(1);
    ASSERT_EQ(frames.size(), 1u);
    EXPECT_TRUE(frames[0].heartbeat);
    EXPECT_EQ(frames[0].type, kFrameTypeNormal);
    EXPECT_EQ(frames[0].length, kHeartbeatFrameLength);
    for (int second = 70; second <= 120; second += 5) {
        AdvanceSeconds(5);
        ASSERT_TRUE(log.Disconnects().empty()) << second;
    }
    AdvanceSeconds(5);  // 125 s: more than 120 without receiving anything
    ASSERT_TRUE(WaitForDisconnect());
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventReceiveTimeout});
}

TEST_F(StackTest, ReceivedHeartbeatKeepsTheSessionAliveAndIsNotDelivered) {
    AdvanceSeconds(100);
    PeerSend(HeartbeatFrame());
    ASSERT_TRUE(WaitUntilSessionRead());
    for (int second = 105; second <= 220; second += 5) {
        AdvanceSeconds(5);
        ASSERT_TRUE(log.Disconnects().empty()) << second;
    }
    AdvanceSeconds(5);
    ASSERT_TRUE(WaitForDisconnect());
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventReceiveTimeout});
    EXPECT_TRUE(log.Deliveries().empty());
}

TEST_F(StackTest, HeartbeatThatCannotBeSentEndsTheSession) {
    // A channel closed under the session is no longer watched, so only the timer notices.
    RunOnReactor(reactor, [&] {
        session->GetChannel()->Disconnect();
        return 0;
    });
    AdvanceSeconds(60);
    EXPECT_TRUE(log.Disconnects().empty());
    AdvanceSeconds(5);
    ASSERT_TRUE(WaitForDisconnect());
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventHeartbeatFailed});
}

TEST(Session, NeedsAChannel) {
    CReactor reactor;
    try {
        CXTPControl session(reactor, nullptr);
        FAIL() << "built without a channel";
    } catch (const CDesignError& error) {
        EXPECT_STREQ(error.GetMessage(), "CXTPControl can't use NULL channel");
        EXPECT_STREQ(error.GetFile(), "public/ChannelControl");
    }
}
