#include "public/TcpClient.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <system_error>
#include <utility>

#include "public/Clock.h"
#include "public/ErrorReport.h"
#include "public/ErrorTexts.h"

namespace quorex {

namespace {

constexpr const char* kDefaultHost = "127.0.0.1";

// Closes a socket descriptor unless it was released to a new owner.
class CSocketGuard {
public:
    explicit CSocketGuard(int socket) : m_socket(socket) {}
    CSocketGuard(const CSocketGuard&) = delete;
    CSocketGuard& operator=(const CSocketGuard&) = delete;
    ~CSocketGuard() {
        if (m_socket >= 0) ::close(m_socket);
    }
    int Get() const { return m_socket; }
    int Release() { return std::exchange(m_socket, -1); }

private:
    int m_socket;
};

// The IPv4 address of host: a dotted address as written, the loopback address for "", otherwise
// the first IPv4 address the system's resolver knows for the name. False when there is none.
bool ResolveIPv4(const std::string& host, in_addr& address) {
    const char* name = host.empty() ? kDefaultHost : host.c_str();
    if (::inet_pton(AF_INET, name, &address) == 1) return true;

    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    if (::getaddrinfo(name, nullptr, &hints, &found) != 0) return false;
    const bool resolved = found != nullptr && found->ai_addr != nullptr && found->ai_family == AF_INET;
    if (resolved) address = reinterpret_cast<const sockaddr_in*>(found->ai_addr)->sin_addr;
    ::freeaddrinfo(found);
    return resolved;
}

enum class ConnectOutcome { kConnected, kTimedOut, kFailed };

// Waits until the connect in progress on socket completes, fails or outlasts limit (taken as
// at most INT_MAX milliseconds, about 24 days).
ConnectOutcome AwaitConnect(int socket, std::chrono::milliseconds limit) {
    const CClock& clock = CSteadyClock::Instance();
    const std::int64_t deadline = clock.NowMilliseconds() + std::clamp<std::int64_t>(limit.count(), 0, INT_MAX);
    pollfd watch{socket, POLLOUT, 0};
    for (;;) {
        const std::int64_t remaining = std::clamp<std::int64_t>(deadline - clock.NowMilliseconds(), 0, INT_MAX);
        const int ready = ::poll(&watch, 1, static_cast<int>(remaining));
        if (ready > 0) break;
        if (ready == 0) return ConnectOutcome::kTimedOut;
        if (errno != EINTR) return ConnectOutcome::kFailed;
    }
    if ((watch.revents & POLLOUT) == 0) return ConnectOutcome::kFailed;

    // Writable also means "the attempt ended"; the pending error and the peer tell how.
    int error = 0;
    socklen_t errorSize = sizeof error;
    if (::getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &errorSize) != 0 || error != 0) {
        return ConnectOutcome::kFailed;
    }
    sockaddr_in peer{};
    socklen_t peerSize = sizeof peer;
    if (::getpeername(socket, reinterpret_cast<sockaddr*>(&peer), &peerSize) != 0) return ConnectOutcome::kFailed;
    return ConnectOutcome::kConnected;
}

}  // namespace

std::unique_ptr<CTcpChannel> CTcpClient::Connect(const CServiceName& service) {
    m_lastFailure = "";
    if (service.GetScheme() != "tcp") throw CDesignError(kTcpClientNotTcp, kModuleTcpClient, __LINE__);
    if (service.GetPort() == 0) throw CDesignError(kTcpClientInvalidPort, kModuleTcpClient, __LINE__);

    sockaddr_in server{};
    server.sin_family = AF_INET;
    server.sin_port = htons(static_cast<std::uint16_t>(service.GetPort()));
    if (!ResolveIPv4(service.GetHost(), server.sin_addr)) {
        m_lastFailure = kTcpClientConnectFailed;
        return nullptr;
    }

    CSocketGuard socket(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, IPPROTO_TCP));
    if (socket.Get() < 0) {
        Log(LogLevel::kError, "GGGGG%s\n", std::system_category().message(errno).c_str());
        throw CDesignError(kTcpClientCannotCreateSocket, kModuleTcpClient, __LINE__);
    }
    const int on = 1;
    ::setsockopt(socket.Get(), SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    // Orders are small and must leave at once: no waiting for earlier segments' acknowledgements.
    ::setsockopt(socket.Get(), IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    if (!CTcpChannel::SetNonBlocking(socket.Get())) {
        throw CRuntimeError(kTcpClientCannotSetNonBlocking, kModuleTcpClient, __LINE__);
    }

    ConnectOutcome outcome = ConnectOutcome::kConnected;
    if (::connect(socket.Get(), reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
        // An interrupted connect goes on in the background, just like one in progress.
        outcome = (errno == EINPROGRESS || errno == EINTR) ? AwaitConnect(socket.Get(), m_connectLimit)
                                                           : ConnectOutcome::kFailed;
    }
    if (outcome != ConnectOutcome::kConnected) {
        m_lastFailure = outcome == ConnectOutcome::kTimedOut ? kTcpClientConnectTimedOut : kTcpClientConnectFailed;
        return nullptr;
    }
    return std::make_unique<CTcpChannel>(socket.Release());
}

}  // namespace quorex
