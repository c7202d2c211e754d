#include "sim/SimServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "public/TcpChannel.h"
#include "sim/MillisecondTimer.h"
#include "sim/SessionLog.h"

namespace quorex::sim {
namespace {

constexpr SessionId kBotSession = 0;

// Runs a function on the reactor thread through a synchronous call.
class CWork final : public CEventTarget {
public:
    explicit CWork(std::function<void()> work) : m_work(std::move(work)) {}
    int HandleEvent(int, int, void*) override {
        m_work();
        return 0;
    }

private:
    std::function<void()> m_work;
};

}  // namespace

// Ends the exchange's pass. The reactor asks it for sockets first in every pass (it is the first
// session), so the previous pass's requests are written and answered before any session polls its
// flows or says whether it has bytes to write.
class CSimServer::CPassEnd final : public CReactorSession {
public:
    explicit CPassEnd(CExchange& exchange) : m_exchange(exchange) {}
    void GetSocketsToWatch(int& readSocket, int& writeSocket) override {
        m_exchange.EndPass();
        readSocket = writeSocket = -1;
    }
    void OnReadable() override {}
    void OnWritable() override {}

private:
    CExchange& m_exchange;
};

// Accepts connections on the listening socket whenever it is readable.
class CSimServer::CListener final : public CReactorSession {
public:
    CListener(CSimServer& server, int socket) : m_server(server), m_socket(socket) {}
    void GetSocketsToWatch(int& readSocket, int& writeSocket) override {
        readSocket = m_socket;
        writeSocket = -1;
    }
    void OnReadable() override {
        for (;;) {
            const int socket = ::accept4(m_socket, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
            if (socket < 0) return;  // nothing more to accept now (or a transient failure)
            m_server.Accept(socket);
        }
    }
    void OnWritable() override {}

private:
    CSimServer& m_server;
    int m_socket;
};

CSimServer::CSimServer(CTradingDay day, CServerOptions options, const CClock& clock, const CTimeOfDay* time)
    : m_options(std::move(options)), m_time(time != nullptr ? *time : m_localTime), m_day(std::move(day)), m_reactor(clock) {}

CSimServer::~CSimServer() {
    Stop();
    if (m_listenSocket >= 0) ::close(m_listenSocket);
}

bool CSimServer::Start(std::string& error) {
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(m_options.port);
    if (::inet_pton(AF_INET, m_options.host.c_str(), &address.sin_addr) != 1) {
        error = "not an IPv4 address: " + m_options.host;
        return false;
    }
    m_listenSocket = ::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    const int on = 1;
    if (m_listenSocket < 0 || ::setsockopt(m_listenSocket, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on) != 0 ||
        ::bind(m_listenSocket, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 ||
        ::listen(m_listenSocket, SOMAXCONN) != 0) {
        error = "cannot listen on " + m_options.host + ":" + std::to_string(m_options.port) + ": " + std::strerror(errno);
        return false;
    }
    socklen_t size = sizeof address;
    ::getsockname(m_listenSocket, reinterpret_cast<sockaddr*>(&address), &size);
    m_port = ntohs(address.sin_port);
    CExchangeOutput& output = *this;
    try {
        m_exchange = std::make_unique<CExchange>(std::move(*m_day), output, m_time, m_options.dataDir);
    } catch (const CDayFileError& refused) {
        error = refused.what();
        return false;
    }

    // Everything below is set up before the reactor thread runs, so it belongs to this thread.
    m_reactor.AddSession(std::make_unique<CPassEnd>(*m_exchange));
    m_reactor.AddSession(std::make_unique<CListener>(*this, m_listenSocket));
    if (m_options.delayMs > 0) {
        auto timer = std::make_unique<CMillisecondTimer>([this] { HandleDelayedRequests(); });
        m_delayTimer = timer.get();
        m_reactor.AddSession(std::move(timer));
    }
    if (m_options.bot && !m_exchange->Day().bot.traderID.empty()) {
        m_bot = std::make_unique<CMarketBot>(*m_exchange, kBotSession, m_options.botSeed);
        auto timer = std::make_unique<CMillisecondTimer>([this] { m_bot->Step(); });
        timer->Arm(m_options.botIntervalMs, m_options.botIntervalMs);
        m_reactor.AddSession(std::move(timer));
    }
    if (!m_reactor.Start()) {
        error = "cannot start the reactor thread";
        return false;
    }
    return true;
}

void CSimServer::Stop() { m_reactor.Stop(); }

void CSimServer::RunOnReactor(const std::function<void(CExchange&)>& work) {
    CWork call([&] {
        work(*m_exchange);
        m_exchange->EndPass();
    });
    m_reactor.SyncCall(&call, 1, 0, nullptr);
}

std::size_t CSimServer::SessionCount() {
    std::size_t count = 0;
    RunOnReactor([&](CExchange&) { count = m_sessions.size(); });
    return count;
}

void CSimServer::Accept(int socket) {
    if (m_sessions.size() >= static_cast<std::size_t>(m_options.maxSessions)) {
        ::close(socket);
        return;
    }
    // Answers are small and latency matters more than packing them.
    const int on = 1;
    ::setsockopt(socket, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on);
    auto channel = std::make_unique<CTcpChannel>(socket);
    const SessionId id = m_nextSession++;
    if (m_options.logSessions) std::printf("session %u: connected from %s\n", id, channel->GetRemoteName());
    CSessionHost& host = *this;
    auto session = std::make_unique<CSimSession>(m_reactor, std::move(channel), host, id, m_options.faults,
                                                 m_options.loginTimeoutSeconds);
    m_sessions[id] = session.get();
    m_reactor.AddSession(std::move(session));
}

void CSimServer::OnRequest(SessionId session, const CXTPPackage& request) {
    if (m_options.delayMs <= 0) return m_exchange->Handle(session, request);
    const auto due = std::chrono::steady_clock::now() + std::chrono::milliseconds(m_options.delayMs);
    const std::uint8_t* bytes = request.Address();
    m_delayed.push_back({due, session, {bytes, bytes + request.Length()}});
    if (m_delayed.size() == 1) m_delayTimer->Arm(m_options.delayMs);
}

void CSimServer::HandleDelayedRequests() {
    const auto now = std::chrono::steady_clock::now();
    while (!m_delayed.empty() && m_delayed.front().due <= now) {
        const CDelayedRequest delayed = std::move(m_delayed.front());
        m_delayed.pop_front();
        // A session that ended meanwhile has nobody to answer.
        if (!m_sessions.contains(delayed.session)) continue;
        m_request.Assign(delayed.wire.data(), delayed.wire.size());
        if (m_request.Parse() >= 0) m_exchange->Handle(delayed.session, m_request);
    }
    if (!m_delayed.empty()) {
        const auto wait = std::chrono::duration_cast<std::chrono::milliseconds>(m_delayed.front().due - now);
        m_delayTimer->Arm(static_cast<int>(wait.count()));
    }
}

std::span<const std::uint8_t> CSimServer::NextPackage(SessionId session) { return m_exchange->NextPackage(session); }

bool CSimServer::IsLoggedIn(SessionId session) const { return m_exchange->IsLoggedIn(session); }

void CSimServer::OnSessionEnded(SessionId session, int code) {
    m_sessions.erase(session);
    m_exchange->Disconnect(session);
    const auto user = m_users.find(session);
    if (m_options.logSessions) std::printf("%s\n", EndLine(session, user != m_users.end() ? user->second : "", code).c_str());
    if (user != m_users.end()) m_users.erase(user);
}

void CSimServer::OnLoggedIn(SessionId session, std::string_view role, std::string_view user) {
    // The market bot is the simulator's own trader, not a connection.
    if (!m_options.logSessions || session == kBotSession) return;
    const std::string& named = m_users[session] = SessionUser(role, user);
    std::printf("%s\n", LoginLine(session, named).c_str());
}

void CSimServer::SendDialog(SessionId session, std::span<const std::uint8_t> package) {
    const auto found = m_sessions.find(session);
    if (found != m_sessions.end()) found->second->SendPackage(package);
}

void CSimServer::OnStaleSubscription(SessionId session, int series, std::int32_t point, std::uint32_t last) {
    if (!m_options.logSessions) return;
    std::printf("session %u: subscription point %d of series %d is beyond this run's flow (%u packages); the client "
                "keeps files of a day this simulator no longer has (its data directory was removed or replaced) and will "
                "skip packages up to its point (remove the client's sync files)\n",
                session, point, series, last);
}

void CSimServer::EndSession(SessionId session) {
    const auto found = m_sessions.find(session);
    if (found != m_sessions.end()) found->second->EndAfterQueued();
}

}  // namespace quorex::sim
