#include "api/ApiSession.h"

#include "api/ApiState.h"
#include "public/ErrorReport.h"

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
    if (!m_state.IsCurrent(&m_session)) return -1;
    try {
        m_state.DeliverReceived(package);
        return 0;
    } catch (const CDesignError& error) {
        ReportError(error);
    } catch (const CRuntimeError& error) {
        ReportError(error);
    }
    m_state.EndAfterFailure(m_session);
    return -1;
}

CApiSession::CApiSession(CReactor& reactor, std::unique_ptr<CChannel> channel, CApiState& state)
    : CXTPControl(reactor, std::move(channel)), m_state(state) {
    for (std::uint8_t series = kDialogSeries; series <= kMarketSeries; ++series)
        m_handlers[series - 1] = static_cast<CApiFlowHandler*>(
            AddHandler(std::make_unique<CApiFlowHandler>(reactor, series, state, *this)));
}

void CApiSession::OnReadable() {
    CXTPControl::OnReadable();
    m_state.SaveDelivered(*this);
    m_state.EndCallbackBatch();
}

void CApiSession::OnDisconnect(int code) { m_state.OnSessionEnded(this, code); }

}  // namespace quorex
