#include "api/ApiSession.h"

#include "api/ApiState.h"

namespace quorex {

bool CApiFlowHandler::Poll() {
    bool sent = false;
    if (GetSeries() == kDialogSeries) {
        m_state.dialogQueue.Drain([&](CXTPPackage& package) {
            SendPackage(package);
            sent = true;
        });
    }
    return RunFlowPump() || sent;
}

int CApiFlowHandler::DeliverToUser(CXTPPackage& package) {
    m_state.DeliverReceived(package);
    return 0;
}

CApiSession::CApiSession(CReactor& reactor, std::unique_ptr<CChannel> channel, CApiState& state)
    : CXTPControl(reactor, std::move(channel)), m_state(state) {
    for (std::uint8_t series = kDialogSeries; series <= kMarketSeries; ++series)
        m_handlers[series - 1] = static_cast<CApiFlowHandler*>(
            AddHandler(std::make_unique<CApiFlowHandler>(reactor, series, state)));
}

void CApiSession::OnDisconnect(int code) { m_state.OnSessionEnded(this, code); }

}  // namespace quorex
