// Sessions end exactly once, with the code of what ended them, even when the reactor's event ring
// is full at the moment a layer reports the end; and the words for every end code.
#include <gtest/gtest.h>

#include <deque>
#include <set>
#include <string>

#include "public/WireBytes.h"
#include "tests/public/StackTestFixture.h"

using namespace quorex;
using namespace quorex::test;

namespace {

// The stack fixture with the ring kept full: every event the session's layers post is refused.
class FullRingTest : public StackTest {
protected:
    void SetUp() override {
        StackTest::SetUp();
        filler.Start();
    }
    void TearDown() override {
        filler.Stop();
        StackTest::TearDown();
    }
    // The session has ended once, with code, and is gone from the reactor.
    void ExpectEndedOnceWith(int code) {
        ASSERT_TRUE(WaitForDisconnect());
        ASSERT_TRUE(WaitOnReactor(reactor, [&] { return log.IsDestroyed(); }));
        Quiesce();
        EXPECT_EQ(log.Disconnects(), std::vector<int>{code});
    }

    CRingFiller filler{reactor};
};

TEST_F(FullRingTest, FortyPeersClosingAtOnceEndFortySessionsOnceEach) {
    constexpr int kSessions = 40;
    std::deque<CSessionLog> logs(kSessions);
    std::vector<int> peers;
    for (CSessionLog& sessionLog : logs) {
        int fds[2];
        ASSERT_EQ(::socketpair(AF_UNIX, SOCK_STREAM, 0, fds), 0);
        peers.push_back(fds[1]);
        auto built = std::make_unique<CTestSession>(reactor, std::make_unique<CSocketPairChannel>(fds[0]), sessionLog);
        ASSERT_NE(built->AddHandler(std::make_unique<CTestHandler>(reactor, 1, sessionLog)), nullptr);
        ASSERT_TRUE(reactor.AddSession(std::move(built)));
    }
    for (int peerSocket : peers) ::close(peerSocket);
    ASSERT_TRUE(WaitOnReactor(reactor, [&] {
        for (CSessionLog& sessionLog : logs) {
            if (!sessionLog.IsDestroyed()) return false;
        }
        return true;
    }));
    Quiesce();
    for (std::size_t i = 0; i < logs.size(); ++i) EXPECT_EQ(logs[i].Disconnects(), std::vector<int>{kEventReadFailed}) << i;
    // Only the fixture's own session is left.
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(reactor.GetSessionCount()); }), 1);
    EXPECT_TRUE(log.Disconnects().empty());
}

TEST_F(FullRingTest, ABrokenFrameEndsTheSessionWithItsCode) {
    Bytes oversize = {kFrameTypeNormal, 0, 0, 0};
    wire::PutU16(oversize.data() + 2, 5000);
    PeerSend(oversize);
    ExpectEndedOnceWith(kEventFrameStreamBroken);
}

TEST_F(FullRingTest, ABrokenPackageEndsTheSessionWithItsCode) {
    Bytes frame = LogoutFrame(1, 0, "bad");
    const std::uint16_t contentLength = wire::LoadU16(frame.data() + kFrameHeaderLength + 2);
    wire::PutU16(frame.data() + kFrameHeaderLength + 2, static_cast<std::uint16_t>(contentLength + 4));
    testing::internal::CaptureStdout();  // the parser's diagnostic line
    PeerSend(frame);
    ExpectEndedOnceWith(kEventPackageBroken);
    testing::internal::GetCapturedStdout();
    EXPECT_TRUE(log.Deliveries().empty());
}

TEST_F(FullRingTest, SilenceEndsTheSessionWithTheReceiveTimeout) {
    AdvanceSeconds(125);
    ExpectEndedOnceWith(kEventReceiveTimeout);
}

TEST_F(FullRingTest, AHeartbeatThatCannotBeSentEndsTheSession) {
    RunOnReactor(reactor, [&] {
        session->GetChannel()->Disconnect();
        return 0;
    });
    AdvanceSeconds(65);
    ExpectEndedOnceWith(kEventHeartbeatFailed);
}

TEST_F(FullRingTest, AFailedWriteEndsTheSessionWithItsCode) {
    // The peer takes nothing more: the session's next write fails.
    ASSERT_EQ(::shutdown(peer, SHUT_RD), 0);
    dialog->Queue("T1");
    reactor.Wakeup();
    ExpectEndedOnceWith(kEventWriteFailed);
}

TEST_F(FullRingTest, AShutdownIsStillFollowedByTheSessionsDestruction) {
    RunOnReactor(reactor, [&] {
        session->Shutdown(kEventShutdownDone);
        return 0;
    });
    ASSERT_TRUE(WaitOnReactor(reactor, [&] { return log.IsDestroyed(); }));
    EXPECT_EQ(log.Disconnects(), std::vector<int>{kEventShutdownDone});
    EXPECT_EQ(RunOnReactor(reactor, [&] { return static_cast<int>(reactor.GetSessionCount()); }), 0);
}

TEST_F(FullRingTest, TheRingTakesEventsAgainOnceItHasRoom) {
    filler.Stop();
    Quiesce();
    // The ring has drained; the stack's ordinary path works as before.
    ::close(peer);
    peer = -1;
    ExpectEndedOnceWith(kEventReadFailed);
}

TEST(EndCodeTexts, EveryEndingEventHasItsOwnWords) {
    EXPECT_STREQ(EndCodeText(0x1001), "peer closed");
    EXPECT_STREQ(EndCodeText(0x1002), "write failed");
    EXPECT_STREQ(EndCodeText(0x1003), "shut down");
    EXPECT_STREQ(EndCodeText(0x2001), "receive time-out");
    EXPECT_STREQ(EndCodeText(0x2002), "heartbeat failed");
    EXPECT_STREQ(EndCodeText(0x2003), "bad frame");
    EXPECT_STREQ(EndCodeText(0x3001), "bad package");
    std::set<std::string> texts;
    for (const TEndCodeText& entry : kEndCodeTexts) texts.insert(entry.text);
    EXPECT_EQ(texts.size(), std::size(kEndCodeTexts));
}

TEST(EndCodeTexts, CodesThatEndNothingAreUnknown) {
    for (int code : {0, 0x1000, 0x4001, 0x1004, -1}) EXPECT_STREQ(EndCodeText(code), "unknown end") << code;
}

}  // namespace
