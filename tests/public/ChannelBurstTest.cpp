// The channel protocol's write bursts: more than one write's worth of queued bytes is bracketed by
// the channel's BeginBurst and EndBurst, every write still at most 4096 bytes; the TCP channel
// corks its socket for the burst.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

#include <numeric>
#include <string>
#include <vector>

#include "LoopbackSockets.h"
#include "public/ChannelControl.h"
#include "public/Reactor.h"
#include "public/TcpChannel.h"

using namespace quorex;
using namespace quorex::test;

namespace {

// Logs "begin", "end" and the length of every write, in order. A write takes at most the cap and
// fails once the given number of writes has been made.
class CBurstLoggingChannel final : public CChannel {
public:
    CBurstLoggingChannel() : CChannel(kChannelReadWrite) {}
    void BeginBurst() override { log.push_back("begin"); }
    void EndBurst() override { log.push_back("end"); }
    const char* GetRemoteName() override { return ""; }
    int GetId() const override { return 7; }

    std::vector<std::string> log;
    std::vector<int> writes;
    int cap = 1 << 30;
    int failAfter = 1 << 30;

protected:
    int ReadImpl(int, char*) override { return 0; }
    int WriteImpl(int length, const char*) override {
        if (static_cast<int>(writes.size()) == failAfter) return -1;
        writes.push_back(std::min(length, cap));
        log.push_back("write");
        return writes.back();
    }
    bool Close() override { return false; }
};

class ChannelBurstTest : public ::testing::Test {
protected:
    void Queue(std::size_t bytes) {
        std::vector<std::uint8_t> frame(bytes, 0x5A);
        CPackage package;
        package.Assign(frame.data(), frame.size());
        ASSERT_EQ(protocol.Send(package), static_cast<int>(bytes));
    }
    int Written() const { return std::accumulate(channel.writes.begin(), channel.writes.end(), 0); }

    CReactor reactor;
    CBurstLoggingChannel channel;
    CChannelProtocol protocol{reactor, channel};
};

}  // namespace

TEST_F(ChannelBurstTest, OneWritesWorthGoesOutWithoutABurst) {
    Queue(3000);
    Queue(1096);
    protocol.OnWritable();
    EXPECT_EQ(channel.log, (std::vector<std::string>{"write"}));
    EXPECT_EQ(channel.writes, std::vector<int>{4096});
}

TEST_F(ChannelBurstTest, MoreIsOneBurstOfWritesOfAtMost4096Bytes) {
    for (int i = 0; i < 3; ++i) Queue(3000);
    protocol.OnWritable();
    ASSERT_GE(channel.log.size(), 4u);
    EXPECT_EQ(channel.log.front(), "begin");
    EXPECT_EQ(channel.log.back(), "end");
    for (int length : channel.writes) EXPECT_LE(length, 4096);
    EXPECT_EQ(Written(), 9000);
    EXPECT_EQ(protocol.GetQueuedBytes(), 0u);
}

TEST_F(ChannelBurstTest, APartialWriteEndsTheBurstAndTheRestFollowsInTheNext) {
    for (int i = 0; i < 3; ++i) Queue(3000);
    channel.cap = 2500;
    protocol.OnWritable();
    // The socket took less than offered: the burst ends, so nothing is held back while waiting.
    EXPECT_EQ(channel.log, (std::vector<std::string>{"begin", "write", "end"}));
    channel.cap = 1 << 30;
    channel.log.clear();
    protocol.OnWritable();
    EXPECT_EQ(channel.log.front(), "begin");
    EXPECT_EQ(channel.log.back(), "end");
    EXPECT_EQ(Written(), 9000);
}

TEST_F(ChannelBurstTest, AFailedWriteClosesTheChannelWithoutEndingTheBurstOnIt) {
    for (int i = 0; i < 3; ++i) Queue(3000);
    channel.failAfter = 1;
    protocol.OnWritable();
    EXPECT_FALSE(channel.IsConnected());
    EXPECT_EQ(channel.log, (std::vector<std::string>{"begin", "write"}));
}

TEST(TcpChannelBurst, CorksTheSocketForTheBurstOnly) {
    CLoopbackListener listener;
    CFd client = ConnectLoopback(listener.Port());
    ASSERT_GE(client.Get(), 0);
    CFd server = listener.Accept();
    CTcpChannel channel(client.Release());
    const auto corked = [&] {
        int value = -1;
        socklen_t size = sizeof value;
        EXPECT_EQ(::getsockopt(channel.GetId(), IPPROTO_TCP, TCP_CORK, &value, &size), 0);
        return value != 0;
    };
    EXPECT_FALSE(corked());
    channel.BeginBurst();
    EXPECT_TRUE(corked());
    EXPECT_EQ(channel.Write(5, "hello"), 5);
    channel.EndBurst();
    EXPECT_FALSE(corked());
    char received[5] = {};
    ASSERT_EQ(WaitFor(server.Get(), POLLIN) & POLLIN, POLLIN);
    EXPECT_EQ(::recv(server.Get(), received, sizeof received, MSG_WAITALL), 5);
    EXPECT_EQ(std::string(received, 5), "hello");
    // A closed channel has no socket to cork; the bracket is harmless there.
    channel.Disconnect();
    channel.BeginBurst();
    channel.EndBurst();
}
