// CClientApi: the library's callbacks turned into the windows' events, in batches.
#include "client/shell/ClientApi.h"

#include <cstring>

#include "client/shell/ClientErrors.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/ResponseCode.h"

namespace kvt {

CClientApi::CClientApi(CMessageBridge& bridge, std::span<const CEventRoute> routes, NowFunction now)
    : m_bridge(bridge), m_now(std::move(now)), m_windows(routes), m_batch(m_windows) {
    SetCallbackBatchEnd(&CClientApi::OnBatchEnd, this);
}

CClientApi::~CClientApi() { Stop(); }

void CClientApi::Stop() {
    // First release a reactor thread that waits in a delivery, then stop that thread, so that no
    // callback runs on this object while its members are destroyed.
    m_bridge.Stop();
    stopApi();
}

void CClientApi::SetInstrumentTable(const CTypedRecordTable<TYuanQiInst>* instruments) {
    if (instruments != nullptr && instruments->Index(0).Compare() != &CompareInstrumentKey) {
        throw CDesignError(kInstrumentTableMismatch, kModuleClientApi, __LINE__);
    }
    m_instruments = instruments;
}

std::string CClientApi::YqInstIDOf(const char* instID) const {
    if (m_instruments == nullptr || instID == nullptr) return std::string();
    TYuanQiInst probe{};
    std::strncpy(probe.instID, instID, sizeof probe.instID - 1);
    const TYuanQiInst* found = m_instruments->Find(probe);
    return found == nullptr ? std::string() : std::string(quorex::FieldText(found->yqInstID));
}

void CClientApi::Forward(ETraderEvent event, const void* record, const TTRspMsg* rsp) {
    if (m_windows.Receivers(event).empty()) return;
    if (record != nullptr) m_deliveredRecords.fetch_add(1, std::memory_order_relaxed);
    if (m_batch.Append(event, record, rsp) || m_bridge.IsUserInterfaceThread()) DeliverPending();
}

void CClientApi::DeliverPending() {
    if (m_batch.Empty()) return;
    m_bridge.Call(m_batch);
    // Delivered, or dropped by a bridge that has stopped: either way the batch starts again.
    m_batch.Clear();
}

template <ETraderEvent Event, class Record>
void CClientApi::OnCallback(const Record* record, const TTRspMsg* rsp) {
    if constexpr (Event == ETraderEvent::onRecvRspTraderLogin) {
        if (!m_windows.IsRegistered(IdOf(EShellWindow::LoginDialog))) return;
        Forward(Event, record, rsp);
        // The dialog hears the answer before the login state is filled.
        DeliverPending();
        if (record != nullptr && IsSuccess(rsp)) m_login.ApplyLoginResponse(*record, m_now());
    } else {
        if constexpr (Event == ETraderEvent::onRecvRspTraderLogout) m_login.SetLoggedOut();
        Forward(Event, record, rsp);
    }
}

#define KVT_EVENT_TRADER(name, Record)                                                      \
    void CClientApi::name(const Record* record, const TTRspMsg* rsp, const char*) {         \
        OnCallback<ETraderEvent::name>(record, rsp);                                        \
    }
#define QX_CALLBACK(slot, name, Record, Tid, kind, by) KVT_EVENT_##by(name, Record)
#include "quorex/callbacks.def"
#undef QX_CALLBACK
#undef KVT_EVENT_TRADER

void CClientApi::onChannelLost(const char* reason) {
    m_login.SetLoggedOut();
    TTRspMsg status{};
    if (reason != nullptr) std::strncpy(status.RspMsg, reason, sizeof status.RspMsg - 1);
    // While the login dialog is open the trading windows have nothing to save yet; the dialog
    // says what happened and lets the trader log in again.
    const bool atLogin = m_windows.IsRegistered(IdOf(EShellWindow::LoginDialog));
    Forward(atLogin ? ETraderEvent::ChannelLostAtLogin : ETraderEvent::onChannelLost, nullptr, &status);
    DeliverPending();
}

void CClientApi::onRecvReqSendOver() { Forward(ETraderEvent::onRecvReqSendOver, nullptr, nullptr); }

}  // namespace kvt
