// CSimSession: one client connection of the simulator: the kernel's session (channel, frame and
// XTP layers) with one package handler for the requests on the dialog flow. Requests go to the
// session's host (the server, in front of the exchange); answers and the sequenced flows' packages
// come back in wire form, with their own series and sequence numbers, and are framed by the
// frame layer. Whenever the write queue has drained, the handler's poll pulls up to 40 more
// packages of the session's flows from the host, so a slow reader only ever has a bounded queue.
//
// Faults for tests can be injected per session: end after N packages, a malformed frame or
// package after the first package, no heartbeats (and no receive time-out).
//
// Ownership: the reactor owns the session; the host is borrowed and outlives every session.
// Thread contract: everything runs on the reactor thread.
#pragma once

#include <cstdint>
#include <memory>
#include <span>

#include "public/ChannelControl.h"
#include "public/XTPPackage.h"

namespace quorex::sim {

using SessionId = std::uint32_t;

// What a session needs from the server.
class CSessionHost {
public:
    virtual ~CSessionHost() = default;
    virtual void OnRequest(SessionId session, const CXTPPackage& request) = 0;
    // The session's next package in wire form; empty when none waits.
    virtual std::span<const std::uint8_t> NextPackage(SessionId session) = 0;
    virtual bool IsLoggedIn(SessionId session) const = 0;
    // The connection has ended (event code, or 0 for an end the server asked for).
    virtual void OnSessionEnded(SessionId session, int code) = 0;
};

struct CFaultOptions {
    int dropAfterPackages = 0;  // 0: never
    bool malformedFrame = false;
    bool malformedPackage = false;
    bool noHeartbeat = false;
};

class CSimSession final : public CXTPControl {
public:
    static constexpr int kMaxPumpedPackages = 40;

    CSimSession(CReactor& reactor, std::unique_ptr<CChannel> channel, CSessionHost& host, SessionId id,
                const CFaultOptions& faults, int loginTimeoutSeconds);

    SessionId Id() const { return m_id; }
    // Queues one package (wire form: XTP header and content) as a frame.
    void SendPackage(std::span<const std::uint8_t> package);
    // Ends the session once what has been queued is written; nothing more is read or sent.
    void EndAfterQueued();

    void OnAttach() override;
    void GetSocketsToWatch(int& readSocket, int& writeSocket) override;
    void OnTimer(int id) override;

    // Called by the request handler.
    void OnRequest(const CXTPPackage& request);
    bool PumpFlows();

protected:
    void OnDisconnect(int code) override;

private:
    static constexpr int kLoginTimerId = 1;

    void InjectFault();

    CSessionHost& m_host;
    const SessionId m_id;
    const CFaultOptions m_faults;
    const int m_loginTimeoutSeconds;
    CPackage m_send;  // reused for every outgoing package
    int m_sentPackages = 0;
    bool m_closing = false;  // no more reading or sending; ends once the queue is written
    bool m_silenced = false;  // a fault was injected: nothing more is sent
};

}  // namespace quorex::sim
