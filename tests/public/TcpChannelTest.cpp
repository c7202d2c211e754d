#include <gtest/gtest.h>
#include <sys/socket.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "LoopbackSockets.h"
#include "public/ErrorTexts.h"
#include "public/TcpChannel.h"

using namespace quorex;
using namespace quorex::test;

namespace {

// A channel that records what reaches its virtual operations.
class CRecordingChannel : public CChannel {
public:
    explicit CRecordingChannel(ChannelMode mode) : CChannel(mode) {}
    int reads = 0, writes = 0, closes = 0;
    const char* GetRemoteName() override { return ""; }
    int GetId() const override { return -1; }

protected:
    int ReadImpl(int length, char*) override { return ++reads, length; }
    int WriteImpl(int length, const char*) override { return ++writes, length; }
    bool Close() override { return ++closes, false; }
};

TEST(ChannelTest, ModeForbidsTheOtherDirection) {
    char buffer[4] = {};
    CRecordingChannel readOnly(kChannelReadOnly);
    EXPECT_EQ(readOnly.Read(4, buffer), 4);
    try {
        readOnly.Write(4, buffer);
        ADD_FAILURE() << "no error";
    } catch (const CDesignError& error) {
        EXPECT_STREQ(error.GetMessage(), "Can not write in read only CChannel");
        EXPECT_STREQ(error.GetFile(), kModuleChannel);
    }

    CRecordingChannel writeOnly(kChannelWriteOnly);
    EXPECT_EQ(writeOnly.Write(4, buffer), 4);
    writeOnly.Disconnect();  // misuse is reported even on a closed channel
    try {
        writeOnly.Read(4, buffer);
        ADD_FAILURE() << "no error";
    } catch (const CDesignError& error) {
        EXPECT_STREQ(error.GetMessage(), "Can not read in write only CChannel");
    }
    EXPECT_EQ(readOnly.writes + writeOnly.reads, 0);
}

TEST(ChannelTest, DisconnectClosesOnceAndStopsTraffic) {
    char buffer[4] = {};
    CRecordingChannel channel(kChannelReadWrite);
    EXPECT_TRUE(channel.IsConnected());
    channel.Disconnect();
    channel.Disconnect();
    EXPECT_EQ(channel.closes, 1);
    EXPECT_FALSE(channel.IsConnected());
    EXPECT_EQ(channel.Read(4, buffer), -1);
    EXPECT_EQ(channel.Write(4, buffer), -1);
    EXPECT_EQ(channel.reads + channel.writes, 0);
}

TEST(ChannelTest, RequestsThatCannotMoveAByteFail) {
    char buffer[4] = {};
    CRecordingChannel channel(kChannelReadWrite);
    EXPECT_EQ(channel.Read(0, buffer), -1);
    EXPECT_EQ(channel.Read(-5, buffer), -1);
    EXPECT_EQ(channel.Read(4, nullptr), -1);
    EXPECT_EQ(channel.Write(0, buffer), -1);
    EXPECT_EQ(channel.Write(4, nullptr), -1);
    EXPECT_EQ(channel.reads + channel.writes, 0);
    EXPECT_TRUE(channel.IsConnected());
}

// A CTcpChannel over the client end of a loopback connection, and the raw server end as its peer.
class TcpChannelTest : public testing::Test {
protected:
    void SetUp() override {
        ASSERT_NE(m_listener.Port(), 0);
        CFd client = ConnectLoopback(m_listener.Port());
        ASSERT_GE(client.Get(), 0);
        m_peer = m_listener.Accept();
        ASSERT_GE(m_peer.Get(), 0);
        m_channel = std::make_unique<CTcpChannel>(client.Release());
    }
    bool WaitReadable() { return WaitFor(m_channel->GetId(), POLLIN) != 0; }
    bool PeerSees(const std::string& text) {
        return ::send(m_peer.Get(), text.data(), text.size(), 0) == static_cast<ssize_t>(text.size());
    }

    CLoopbackListener m_listener;
    CFd m_peer;
    std::unique_ptr<CTcpChannel> m_channel;
};

TEST_F(TcpChannelTest, ReadsWhatArrivedAndZeroWhenNothingWaits) {
    char buffer[64];
    EXPECT_EQ(m_channel->Read(sizeof buffer, buffer), 0);
    ASSERT_TRUE(PeerSees("hello"));
    ASSERT_TRUE(WaitReadable());
    ASSERT_EQ(m_channel->Read(sizeof buffer, buffer), 5);
    EXPECT_EQ(std::string(buffer, 5), "hello");
    EXPECT_EQ(m_channel->Read(sizeof buffer, buffer), 0);
    EXPECT_TRUE(m_channel->IsConnected());
}

TEST_F(TcpChannelTest, ReadAfterThePeerClosedFailsOnceTheDataIsConsumed) {
    ASSERT_TRUE(PeerSees("ab"));
    m_peer.Reset();
    ASSERT_TRUE(WaitReadable());
    char buffer[64];
    EXPECT_EQ(m_channel->Read(sizeof buffer, buffer), 2);
    EXPECT_EQ(m_channel->Read(sizeof buffer, buffer), -1);
}

TEST_F(TcpChannelTest, WritesPartiallyToAPeerThatDoesNotReadAndLosesNothing) {
    std::vector<char> chunk(64 * 1024);
    std::size_t total = 0;
    int result = 0;
    // Fill the socket buffers; the cap only guards against a channel that never reports "full".
    while (total < 256u * 1024 * 1024) {
        for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>((total + i) % 251);
        result = m_channel->Write(static_cast<int>(chunk.size()), chunk.data());
        ASSERT_GE(result, 0);
        ASSERT_LE(result, static_cast<int>(chunk.size()));
        if (result == 0) break;
        total += static_cast<std::size_t>(result);
    }
    ASSERT_EQ(result, 0) << "the channel never reported a full socket";

    // The peer receives exactly the bytes the channel reported, in order.
    std::vector<char> received(64 * 1024);
    std::size_t seen = 0;
    while (seen < total) {
        ASSERT_NE(WaitFor(m_peer.Get(), POLLIN), 0) << "bytes missing after " << seen << " of " << total;
        const ssize_t n = ::recv(m_peer.Get(), received.data(), received.size(), 0);
        ASSERT_GT(n, 0);
        for (ssize_t i = 0; i < n; ++i) {
            ASSERT_EQ(received[static_cast<std::size_t>(i)], static_cast<char>((seen + static_cast<std::size_t>(i)) % 251));
        }
        seen += static_cast<std::size_t>(n);
    }
    EXPECT_EQ(WaitFor(m_peer.Get(), POLLIN, 0), 0) << "more bytes arrived than were reported written";
    ASSERT_NE(WaitFor(m_channel->GetId(), POLLOUT), 0);
    EXPECT_GT(m_channel->Write(4, "more"), 0);
}

TEST_F(TcpChannelTest, WriteToAResetPeerFailsWithADiagnosticAndNoSignal) {
    const linger abort{1, 0};
    ASSERT_EQ(::setsockopt(m_peer.Get(), SOL_SOCKET, SO_LINGER, &abort, sizeof abort), 0);
    m_peer.Reset();
    ASSERT_TRUE(WaitReadable());

    testing::internal::CaptureStdout();
    const int first = m_channel->Write(1, "x");
    const int second = m_channel->Write(1, "x");  // the socket is now known to be broken: EPIPE
    const std::string output = testing::internal::GetCapturedStdout();
    EXPECT_EQ(first, -1);
    EXPECT_EQ(second, -1);
    EXPECT_EQ(output.rfind("11GET_LAST_SOCK_ERROR()=", 0), 0u) << output;
    EXPECT_NE(output.find("\n11WRITE:::"), std::string::npos) << output;
}

TEST_F(TcpChannelTest, RemoteNameIsThePeersDottedAddress) {
    EXPECT_STREQ(m_channel->GetRemoteName(), "127.0.0.1");
    m_channel->Disconnect();
    EXPECT_STREQ(m_channel->GetRemoteName(), "");
}

TEST_F(TcpChannelTest, DisconnectClosesTheSocketOnce) {
    m_channel->Disconnect();
    m_channel->Disconnect();
    EXPECT_FALSE(m_channel->IsConnected());
    EXPECT_EQ(m_channel->GetId(), -1);
    char buffer[8];
    EXPECT_EQ(m_channel->Read(sizeof buffer, buffer), -1);
    EXPECT_EQ(m_channel->Write(4, "data"), -1);
    ASSERT_NE(WaitFor(m_peer.Get(), POLLIN), 0);
    EXPECT_EQ(::recv(m_peer.Get(), buffer, sizeof buffer, 0), 0) << "the peer should see the close";
}

TEST_F(TcpChannelTest, DestructionClosesTheSocket) {
    m_channel.reset();
    ASSERT_NE(WaitFor(m_peer.Get(), POLLIN), 0);
    char buffer[8];
    EXPECT_EQ(::recv(m_peer.Get(), buffer, sizeof buffer, 0), 0);
}

TEST(TcpChannelConstructionTest, RefusesADescriptorThatIsNotASocket) {
    try {
        CTcpChannel channel(-1);
        ADD_FAILURE() << "no error";
    } catch (const CRuntimeError& error) {
        EXPECT_STREQ(error.GetMessage(), "Can not set FIONBIO\n");
        EXPECT_STREQ(error.GetFile(), kModuleTcpChannel);
    }
}

}  // namespace
