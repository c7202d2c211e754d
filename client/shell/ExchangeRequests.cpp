// CClientApiRequests: the window requests, sent through the library without a request ID.
#include "client/shell/ExchangeRequests.h"

#include "client/shell/ClientApi.h"
#include "quorex/Text.h"

namespace kvt {

void CClientApiRequests::UseServer(const char* host, int port) {
    m_api.m_nServerCount = 0;
    m_api.SetService(host, port);
}

std::string CClientApiRequests::TradeDate() {
    char date[9] = {};
    m_api.GetTradeDate(date);
    return std::string(quorex::FieldText(date));
}

int CClientApiRequests::ReqTraderLogin(const TReqTraderLogin& login) { return m_api.ReqTraderLogin(&login, nullptr); }
int CClientApiRequests::ReqTraderLogout(const TReqTraderLogout& logout) {
    return m_api.ReqTraderLogout(&logout, nullptr);
}
int CClientApiRequests::ReqTraderPasswordUpdate(const TReqTraderPasswordUpdate& update) {
    return m_api.ReqTraderPasswordUpdate(&update, nullptr);
}
int CClientApiRequests::ReqYqOrderEx(const TYqOrder& order, const TYqFrznElctIndenture* indentures) {
    return m_api.ReqYqOrderEx(&order, indentures, nullptr);
}
int CClientApiRequests::ReqYqOrderCancel(const TYqOrderCancel& cancel) {
    return m_api.ReqYqOrderCancel(&cancel, nullptr);
}
int CClientApiRequests::ReqQryMemberCapital(const TReqQryMemberCapital& query) {
    return m_api.ReqQryMemberCapital(&query, nullptr);
}
int CClientApiRequests::ReqQryElctIndenture(const TReqQryElctIndenture& query) {
    return m_api.ReqQryElctIndenture(&query, nullptr);
}
int CClientApiRequests::ReqQryYqQuotation(const TReqQryQuotation& query) {
    return m_api.ReqQryYqQuotation(&query, nullptr);
}
int CClientApiRequests::ReqQryYqMemberPosi(const TReqQryMemberPosi& query) {
    return m_api.ReqQryYqMemberPosi(&query, nullptr);
}
int CClientApiRequests::ReqQryYqClientPosi(const TReqQryClientPosi& query) {
    return m_api.ReqQryYqClientPosi(&query, nullptr);
}
int CClientApiRequests::ReqQryYqInstElctIndent(const TReqQryInstElctIndent& query) {
    return m_api.ReqQryYqInstElctIndent(&query, nullptr);
}

}  // namespace kvt
