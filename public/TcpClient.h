// CTcpClient: opens a TCP connection to a service name "tcp://host:port" and hands it over as a
// CTcpChannel. Each Connect makes exactly one attempt and waits at most the connect limit; a
// refused, unreachable or timed-out server is not an exception: Connect returns nothing and the
// client keeps a text saying why. Used by one thread at a time; Connect blocks that thread.
#pragma once

#include <chrono>
#include <memory>

#include "public/ServiceName.h"
#include "public/TcpChannel.h"

namespace quorex {

// The failure texts that GetLastFailure reports.
inline constexpr const char* kTcpClientConnectTimedOut = "Can not connect to CServer due to timeout";
inline constexpr const char* kTcpClientConnectFailed = "Can not connect to CServer";

class CTcpClient {
public:
    static constexpr std::chrono::milliseconds kDefaultConnectLimit{15000};

    explicit CTcpClient(std::chrono::milliseconds connectLimit = kDefaultConnectLimit)
        : m_connectLimit(connectLimit) {}

    // Connects to service; the caller owns the returned channel. The host is a dotted IPv4
    // address, "" for 127.0.0.1, or a host name resolved to its first IPv4 address (the lookup
    // runs before the connect and is not bounded by the connect limit).
    // Returns nothing when the host cannot be resolved or the server does not accept the
    // connection within the limit; GetLastFailure then says which.
    // Throws CDesignError "Can not connect to none tcp service" when the scheme is not exactly
    // "tcp", "Invalid port" when the port is 0, "Can not create socket for tcp CClient" when no
    // socket can be created (after printing the system's reason), and CRuntimeError
    // "Can not set FIONBIO for socket" when the socket refuses non-blocking mode.
    std::unique_ptr<CTcpChannel> Connect(const CServiceName& service);

    // Why the last Connect returned nothing: kTcpClientConnectTimedOut or
    // kTcpClientConnectFailed; "" before the first attempt and after a successful one.
    const char* GetLastFailure() const { return m_lastFailure; }

private:
    std::chrono::milliseconds m_connectLimit;
    const char* m_lastFailure = "";
};

}  // namespace quorex
