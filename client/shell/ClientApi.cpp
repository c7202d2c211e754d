// CClientApi: the routing of library callbacks to window messages.
#include "client/shell/ClientApi.h"

#include <cstring>

#include "client/shell/ClientErrors.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/ResponseCode.h"

namespace kvt {

using enum EWindow;

CClientApi::CClientApi(CMessageBridge& bridge, NowFunction now) : m_bridge(bridge), m_now(std::move(now)) {}

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
    return found == nullptr ? std::string() : std::string(FieldText(found->yqInstID));
}

void CClientApi::onChannelLost(const char* reason) {
    m_login.SetLoggedOut();
    TTRspMsg status{};
    if (reason != nullptr) std::strncpy(status.RspMsg, reason, sizeof status.RspMsg - 1);
    // While the login dialog is open the trading windows have nothing to save yet; the dialog
    // says what happened and lets the trader log in again.
    if (IsRegistered(LoginDialog)) {
        Send(LoginDialog, WM_CHANNEL_LOST, 0, AsLParam(&status));
        return;
    }
    Send(PreOrderPage, WM_CHANNEL_LOST, 0, 0);
    Send(MainFrame, WM_STATUS_TEXT, kStatusConnectionLost, AsLParam(&status));
}

void CClientApi::SendEach(std::initializer_list<EWindow> windows, unsigned message, WParam wParam, LParam lParam) {
    std::array<const CWindowRef*, kWindowCount> refs{};
    std::size_t count = 0;
    for (EWindow window : windows) refs[count++] = &Window(window);
    m_bridge.SendEach(std::span(refs.data(), count), message, wParam, lParam);
}

void CClientApi::onRecvReqSendOver() {
    SendEach({QuotationPage, LoginDialog, OrderEntryPage, PreOrderPage}, WM_INIT_DATA_DONE, 0, 0);
}

void CClientApi::onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char*) {
    if (!IsRegistered(LoginDialog)) return;
    SendRecord({LoginDialog}, WM_LOGIN_RSP, login, rsp);
    if (login != nullptr && IsSuccess(rsp)) m_login.ApplyLoginResponse(*login, m_now());
}

void CClientApi::onRecvRspTraderLogout(const TReqTraderLogout*, const TTRspMsg*, const char*) {
    m_login.SetLoggedOut();
}

void CClientApi::onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) {
    SendRecord({OrderEntryPage, PreOrderPage}, WM_ORDER_RSP, order, rsp);
}

void CClientApi::onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) {
    SendRecord({OrderListPage, OrderEntryPage, PreOrderPage}, WM_ORDER_RTN, order, rsp);
}

void CClientApi::onRecvRtnYqOrderCancel(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) {
    CClientApi::onRecvRtnYqOrder(order, rsp, requestId);
}

void CClientApi::onRecvRtnForceYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char*) {
    SendRecord({OrderListPage}, WM_ORDER_RTN, order, rsp);
}

void CClientApi::onRecvRspYqOrderCancel(const TYqOrderCancel* cancel, const TTRspMsg* rsp, const char*) {
    SendRecord({OrderListPage}, WM_ORDER_CANCEL_RSP, cancel, rsp);
}

void CClientApi::onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg* rsp, const char*) {
    SendRecord({MatchPage}, WM_MATCH_RTN, match, rsp);
}

void CClientApi::onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char*) {
    SendRecord({QuotationPage, OrderEntryPage}, WM_YQ_QUOTATION, quotation, rsp);
}

void CClientApi::onRecvRspQryYqQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char*) {
    SendRecord({QuotationPage}, WM_YQ_QUOTATION, quotation, rsp);
}

void CClientApi::onRecvYqCloseQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char*) {
    SendRecord({QuotationPage}, WM_YQ_QUOTATION, quotation, rsp);
}

void CClientApi::onRecvYuanQiInstInfo(const TYuanQiInst* instrument, const TTRspMsg* rsp, const char*) {
    SendRecord({OrderEntryPage}, WM_INST_INFO, instrument, rsp);
}

void CClientApi::onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg* rsp, const char*) {
    SendRecord({CapitalPage, OrderEntryPage}, WM_MEMBER_CAPITAL, capital, rsp);
}

void CClientApi::onRecvRspQryYqClientPosi(const TYqClientPosi* position, const TTRspMsg* rsp, const char*) {
    SendRecord({PositionPage}, WM_CLIENT_POSI, position, rsp);
}

void CClientApi::onRecvRspQryYqMemberPosi(const TYqMemberPosi* position, const TTRspMsg* rsp, const char*) {
    SendRecord({OrderEntryPage, PositionPage}, WM_QRY_RESULT, position, rsp);
}

void CClientApi::onRecvRspQryElctIndenture(const TElctIndenture* indenture, const TTRspMsg* rsp, const char*) {
    SendRecord({ElctIndenturePage}, WM_QRY_RESULT, indenture, rsp);
}

void CClientApi::onRecvRspQryYqInstElctIndent(const TElctIndenture* indenture, const TTRspMsg* rsp, const char*) {
    SendRecord({IndentureSelectPage}, WM_QRY_RESULT, indenture, rsp);
}

void CClientApi::onRecvRspTraderPasswordUpdate(const TReqTraderPasswordUpdate* update, const TTRspMsg* rsp,
                                               const char*) {
    SendRecord({PasswordDialog}, WM_PASSWORD_RSP, update, rsp);
    Send(MainFrame, WM_STATUS_TEXT, 0, AsLParam(rsp));
}

}  // namespace kvt
