#include "public/FrameProtocol.h"

#include "public/Reactor.h"
#include "public/XTPPackage.h"

namespace quorex {

// The layer may be built on another thread, so it reads the clock itself rather than the time the
// reactor noted in its last pass.
CFrameProtocol::CFrameProtocol(CReactor& reactor)
    : CProtocol(reactor, kFrameHeaderReserve),
      m_lastReceive(reactor.GetClock().NowMilliseconds() / 1000),
      m_lastSend(m_lastReceive) {
    m_heartbeat.Allocate(kHeartbeatFrameLength);
}

void CFrameProtocol::StartHeartbeat() { SetTimer(kHeartbeatTimerId, kHeartbeatTimerSeconds); }

int CFrameProtocol::Deliver(CPackage& unit) {
    m_lastReceive = GetReactor().GetClockSeconds();
    if (m_frame.IsHeartbeat()) return 0;
    return CProtocol::Deliver(unit);
}

bool CFrameProtocol::Accept(CPackage&) {
    // The unit is m_frame, the frame just cut.
    m_frame.StripHeader();
    return true;
}

int CFrameProtocol::Send(CPackage& package) {
    if (!m_encoder.Encode(package)) return -1;
    const int result = CProtocol::Send(package);
    if (result >= 0) m_lastSend = GetReactor().GetClockSeconds();
    return result;
}

int CFrameProtocol::Control(int code, const void* data) {
    if (code != kControlFrameType) return CProtocol::Control(code, data);
    m_encoder.SwitchType(data != nullptr ? *static_cast<const std::uint8_t*>(data) : 0);
    return 0;
}

void CFrameProtocol::OnTimer(int id) {
    if (id != kHeartbeatTimerId) return;
    const std::int64_t now = GetReactor().GetClockSeconds();
    if (now - m_lastReceive > kReceiveIdleSeconds) PostToSink(kEventReceiveTimeout);
    if (now - m_lastSend > kSendIdleSeconds) {
        if (CFrameEncoder::MakeHeartbeat(m_heartbeat) && CProtocol::Send(m_heartbeat) >= 0) {
            m_lastSend = now;
        } else {
            PostToSink(kEventHeartbeatFailed);
        }
    }
}

}  // namespace quorex
