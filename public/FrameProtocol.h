// CFrameProtocol: the frame layer. It cuts frames from the channel's bytes, swallows heartbeats,
// hands each other frame's payload to the upper registered under the frame's Type, and frames
// outgoing packages. A 5-second timer keeps the connection alive and watched: more than 60
// seconds without sending sends a heartbeat (failure: event 0x2002), more than 120 seconds
// without receiving reports event 0x2001. A malformed frame header reports event 0x2003. Times
// are whole seconds of the reactor's clock.
//
// Ownership and threads: see CProtocol. Created by the session, owned by the channel protocol.
#pragma once

#include <cstdint>

#include "public/Frame.h"
#include "public/Protocol.h"

namespace quorex {

class CFrameProtocol final : public CProtocol {
public:
    static constexpr int kHeartbeatTimerId = 1;
    static constexpr int kHeartbeatTimerSeconds = 5;
    static constexpr std::int64_t kSendIdleSeconds = 60;
    static constexpr std::int64_t kReceiveIdleSeconds = 120;

    explicit CFrameProtocol(CReactor& reactor);

    // Starts the heartbeat timer; called on the reactor thread when the session is adopted.
    void StartHeartbeat();

    int Deliver(CPackage& unit) override;
    int Send(CPackage& package) override;
    int Control(int code, const void* data) override;
    void OnTimer(int id) override;

protected:
    CPackage* ReceiveUnit() override { return &m_frame; }
    int CutUnit() override { return m_frame.Cut(); }
    int DemuxKey() const override { return m_frame.m_FrameHeader.Type; }
    void OnStreamError() override { PostToSink(kEventFrameStreamBroken); }
    bool Accept(CPackage& unit) override;

private:
    CFramePackage m_frame;
    CFrameEncoder m_encoder;
    CPackage m_heartbeat;  // reused for every heartbeat frame
    std::int64_t m_lastReceive;
    std::int64_t m_lastSend;
};

}  // namespace quorex
