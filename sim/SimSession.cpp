#include "sim/SimSession.h"

#include "public/Frame.h"
#include "public/XTPPackageHandler.h"
#include "public/FlowSeries.h"
#include "public/PackageTypes.h"

namespace quorex::sim {
namespace {

// Receives the session's requests and, on each poll, pulls the session's next packages.
class CRequestHandler final : public CXTPPackageHandler {
public:
    CRequestHandler(CReactor& reactor, CSimSession& session) : CXTPPackageHandler(reactor, kDialogSeries), m_session(session) {}
    bool Poll() override { return m_session.PumpFlows(); }

protected:
    int DeliverToUser(CXTPPackage& package) override {
        m_session.OnRequest(package);
        return 0;
    }

private:
    CSimSession& m_session;
};

}  // namespace

CSimSession::CSimSession(CReactor& reactor, std::unique_ptr<CChannel> channel, CSessionHost& host, SessionId id,
                         const CFaultOptions& faults, int loginTimeoutSeconds)
    : CXTPControl(reactor, std::move(channel)), m_host(host), m_id(id), m_faults(faults),
      m_loginTimeoutSeconds(loginTimeoutSeconds) {
    AddHandler(std::make_unique<CRequestHandler>(reactor, *this));
    m_send.Allocate(kSendPackageCapacity);
}

void CSimSession::OnAttach() {
    // Without heartbeats the frame layer's timer is never started: nothing is sent when idle and
    // no receive time-out ends the session.
    if (!m_faults.noHeartbeat) CXTPControl::OnAttach();
    if (m_loginTimeoutSeconds > 0) SetTimer(kLoginTimerId, m_loginTimeoutSeconds);
}

void CSimSession::OnTimer(int id) {
    if (id != kLoginTimerId) return;
    GetReactor().RemoveTimers(this, kLoginTimerId);
    // A connection that has not logged in by now is idle: it is ended.
    if (GetChannelProtocol() != nullptr && !m_host.IsLoggedIn(m_id)) EndAfterQueued();
}

void CSimSession::OnRequest(const CXTPPackage& request) {
    if (!m_closing) m_host.OnRequest(m_id, request);
}

void CSimSession::SendPackage(std::span<const std::uint8_t> package) {
    if (m_closing || m_silenced || GetChannelProtocol() == nullptr) return;
    m_send.Assign(package.data(), package.size());
    // The package carries its own XTP header (series and number included): it goes straight to the
    // XTP layer, which passes it to the frame layer.
    CProtocol* xtpLayer = GetChannelProtocol()->GetUpper(kFrameLayerId)->GetUpper(kXTPLayerId);
    xtpLayer->Send(m_send);
    ++m_sentPackages;
    if (m_sentPackages == 1 && (m_faults.malformedFrame || m_faults.malformedPackage)) InjectFault();
    if (m_faults.dropAfterPackages > 0 && m_sentPackages >= m_faults.dropAfterPackages) EndAfterQueued();
}

void CSimSession::InjectFault() {
    m_silenced = true;
    if (m_faults.malformedFrame) {
        // A frame header whose Length is above the 4096-byte limit.
        const std::uint8_t header[kFrameHeaderLength] = {kFrameTypeNormal, 0, 0xFF, 0xFF};
        m_send.Assign(header, sizeof header);
        GetChannelProtocol()->Send(m_send);
        return;
    }
    // A well-framed package whose header claims more content than it carries.
    TXTPHeader header{};
    header.SequenceSeries = kDialogSeries;
    header.Chain = 'S';
    header.Tid = tid::RtnYqOrder;
    header.ContentLength = 100;
    std::uint8_t wire[XTPHLEN];
    EncodeXTPHeader(header, wire);
    m_send.Assign(wire, sizeof wire);
    GetChannelProtocol()->GetUpper(kFrameLayerId)->Send(m_send);
}

bool CSimSession::PumpFlows() {
    if (m_closing || m_silenced) return false;
    int sent = 0;
    while (sent < kMaxPumpedPackages && !m_closing && !m_silenced) {
        const std::span<const std::uint8_t> package = m_host.NextPackage(m_id);
        if (package.empty()) break;
        SendPackage(package);
        ++sent;
    }
    return sent > 0;
}

void CSimSession::EndAfterQueued() { m_closing = true; }

void CSimSession::GetSocketsToWatch(int& readSocket, int& writeSocket) {
    // A failure the reactor's ring could not take comes before an end of the server's own.
    if (EndWithKeptEvent()) return;
    CChannelProtocol* channel = GetChannelProtocol();
    if (m_closing && channel != nullptr && channel->GetQueuedBytes() == 0) {
        // Everything is written: end now, without waiting for the event queue.
        ShutdownNow(0);
        return;
    }
    CXTPControl::GetSocketsToWatch(readSocket, writeSocket);
    if (m_closing) readSocket = -1;
}

void CSimSession::OnDisconnect(int code) { m_host.OnSessionEnded(m_id, code); }

}  // namespace quorex::sim
