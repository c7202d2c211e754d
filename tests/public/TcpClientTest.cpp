#include <fcntl.h>
#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <vector>

#include "LoopbackSockets.h"
#include "public/ErrorTexts.h"
#include "public/TcpClient.h"

using namespace quorex;
using namespace quorex::test;
using namespace std::chrono_literals;

namespace {

std::string Location(const char* host, std::uint16_t port) {
    return "tcp://" + std::string(host) + ":" + std::to_string(port);
}

std::unique_ptr<CTcpChannel> ConnectTo(CTcpClient& client, const std::string& location) {
    return client.Connect(CServiceName(location.c_str()));
}

// The message of the CDesignError that connecting to location raises, or "" when none is raised.
std::string DesignErrorOf(const char* location) {
    CTcpClient client;
    try {
        client.Connect(CServiceName(location));
    } catch (const CDesignError& error) {
        EXPECT_STREQ(error.GetFile(), kModuleTcpClient);
        return error.GetMessage();
    }
    return "";
}

TEST(TcpClientTest, ConnectsToAListeningServer) {
    CLoopbackListener listener;
    // "127.1" is not a dotted quad, so it goes through the resolver, which reads it without
    // any lookup traffic.
    for (const char* host : {"127.0.0.1", "", "127.1"}) {
        CTcpClient client;
        const auto channel = ConnectTo(client, Location(host, listener.Port()));
        ASSERT_NE(channel, nullptr) << host << ": " << client.GetLastFailure();
        EXPECT_STREQ(client.GetLastFailure(), "");
        EXPECT_STREQ(channel->GetRemoteName(), "127.0.0.1");

        CFd server = listener.Accept();
        ASSERT_GE(server.Get(), 0);
        ASSERT_NE(WaitFor(channel->GetId(), POLLOUT), 0);
        ASSERT_EQ(channel->Write(4, "ping"), 4);
        ASSERT_NE(WaitFor(server.Get(), POLLIN), 0);
        char buffer[8];
        ASSERT_EQ(::recv(server.Get(), buffer, sizeof buffer, 0), 4);
        EXPECT_EQ(std::string(buffer, 4), "ping");
        EXPECT_NE(::fcntl(channel->GetId(), F_GETFL) & O_NONBLOCK, 0);
    }
}

TEST(TcpClientTest, RefusedConnectionFailsQuicklyAndSuccessClearsTheText) {
    CLoopbackListener listener;
    const std::string location = Location("127.0.0.1", listener.Port());
    listener.Close();

    CTcpClient client;  // the default 15-second limit: a refusal must not wait for it
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ConnectTo(client, location), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 5s);
    EXPECT_STREQ(client.GetLastFailure(), "Can not connect to CServer");

    CLoopbackListener another;
    EXPECT_NE(ConnectTo(client, Location("127.0.0.1", another.Port())), nullptr);
    EXPECT_STREQ(client.GetLastFailure(), "");
}

TEST(TcpClientTest, ServerThatNeverCompletesTheHandshakeTimesOut) {
    // A listener that never accepts, with its accept queue filled: further handshakes stall.
    CLoopbackListener listener(0);
    std::vector<CFd> queued;
    for (int i = 0; i < 8; ++i) {
        CFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK, 0));
        const sockaddr_in address = LoopbackAddress(listener.Port());
        ::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address);
        const bool completed = WaitFor(fd.Get(), POLLOUT, 200) != 0;
        queued.push_back(std::move(fd));
        if (!completed) break;
    }

    CTcpClient client(50ms);
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(ConnectTo(client, Location("127.0.0.1", listener.Port())), nullptr);
    const auto waited = std::chrono::steady_clock::now() - started;
    EXPECT_STREQ(client.GetLastFailure(), "Can not connect to CServer due to timeout");
    EXPECT_GE(waited, 50ms);
    EXPECT_LT(waited, 5s);
}

TEST(TcpClientTest, MisconfiguredServiceNamesAreDesignErrors) {
    EXPECT_EQ(DesignErrorOf("udp://127.0.0.1:5000"), "Can not connect to none tcp service");
    EXPECT_EQ(DesignErrorOf("TCP://127.0.0.1:5000"), "Can not connect to none tcp service");
    EXPECT_EQ(DesignErrorOf("tcp"), "Invalid port");
    EXPECT_EQ(DesignErrorOf("tcp://somehost"), "Invalid port");
    EXPECT_EQ(DesignErrorOf("tcp://127.0.0.1:70000"), "Invalid port");
}

}  // namespace
