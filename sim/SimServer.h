// CSimServer: the exchange on loopback TCP. One reactor thread accepts connections, runs every
// client session (the kernel's protocol stack: frames, heartbeats, XTP packages) and drives the
// exchange, which it alone touches; the optional market-activity bot and delayed requests run on
// the same thread from millisecond timers. Every reactor pass is one pass of the exchange: it
// ends at the start of the next pass, before any session is polled (see CExchange::EndPass).
//
// Ownership: the server owns its reactor (and through it the listener, the sessions and timers)
// and the exchange, which Start creates. Thread contract: Start, Stop, Port and RunOnReactor belong
// to the owner's thread; everything else runs on the reactor thread.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

#include "public/Clock.h"
#include "public/Reactor.h"
#include "sim/Exchange.h"
#include "sim/MarketBot.h"
#include "sim/SimSession.h"

namespace quorex::sim {

class CMillisecondTimer;

struct CServerOptions {
    std::string host = "127.0.0.1";  // a dotted IPv4 address
    std::uint16_t port = 6669;       // 0: any free port (see Port())
    int maxSessions = 512;
    int loginTimeoutSeconds = 30;    // a connection not logged in by then is ended; 0: never
    int delayMs = 0;                 // each request is handled this much later
    CFaultOptions faults;
    bool bot = false;
    int botIntervalMs = 200;
    std::uint32_t botSeed = 1;
    bool logSessions = true;         // a line on standard output per connection and end
    std::string dataDir;             // the day is kept in this folder (see CExchange); empty: in memory
};

class CSimServer final : private CSessionHost, private CExchangeOutput {
public:
    // clock drives the reactor (heartbeats, time-outs); time writes the records' times.
    CSimServer(CTradingDay day, CServerOptions options, const CClock& clock = CSteadyClock::Instance(),
               const CTimeOfDay* time = nullptr);
    ~CSimServer() override;
    CSimServer(const CSimServer&) = delete;
    CSimServer& operator=(const CSimServer&) = delete;

    // Listens, opens the day (its folder, when options name one: not before the address is known
    // to work, so a bad address leaves no folder behind) and starts the reactor thread; false with
    // error set when the address cannot be used or the day's folder is refused (CDayFileError's
    // text, which names the file).
    bool Start(std::string& error);
    // Ends every session and the reactor thread.
    void Stop();
    std::uint16_t Port() const { return m_port; }
    // Runs work on the reactor thread with the exchange, ends the exchange's pass (what the work
    // changed is written and answered) and waits for it (after a successful Start).
    void RunOnReactor(const std::function<void(CExchange&)>& work);
    std::size_t SessionCount();
    // Makes the reactor run a pass now (after a test moved a manual clock).
    void Wakeup() { m_reactor.Wakeup(); }

private:
    class CPassEnd;
    class CListener;
    struct CDelayedRequest {
        std::chrono::steady_clock::time_point due;
        SessionId session;
        std::vector<std::uint8_t> wire;
    };

    // CSessionHost
    void OnRequest(SessionId session, const CXTPPackage& request) override;
    std::span<const std::uint8_t> NextPackage(SessionId session) override;
    bool IsLoggedIn(SessionId session) const override;
    void OnSessionEnded(SessionId session, int code) override;
    // CExchangeOutput
    void SendDialog(SessionId session, std::span<const std::uint8_t> package) override;
    void EndSession(SessionId session) override;
    void OnLoggedIn(SessionId session, std::string_view role, std::string_view user) override;
    void OnStaleSubscription(SessionId session, int series, std::int32_t point, std::uint32_t last) override;

    void Accept(int socket);
    void HandleDelayedRequests();

    CServerOptions m_options;
    CLocalTimeOfDay m_localTime;
    const CTimeOfDay& m_time;
    std::optional<CTradingDay> m_day;  // until Start hands it to the exchange
    std::unique_ptr<CExchange> m_exchange;
    CReactor m_reactor;
    int m_listenSocket = -1;
    std::uint16_t m_port = 0;
    SessionId m_nextSession = 1;  // session 0 is the bot's
    std::unordered_map<SessionId, CSimSession*> m_sessions;  // owned by the reactor
    std::unordered_map<SessionId, std::string> m_users;      // "trader 00010001", for the log
    std::deque<CDelayedRequest> m_delayed;
    CMillisecondTimer* m_delayTimer = nullptr;  // owned by the reactor
    std::unique_ptr<CMarketBot> m_bot;
    CXTPPackage m_request;  // a delayed request, parsed again when due
};

}  // namespace quorex::sim
