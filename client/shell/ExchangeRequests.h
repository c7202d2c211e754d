// CExchangeRequests: the exchange requests that the client's windows send, and the two library
// operations around them (the one server of a login, the trade date). The windows call this
// interface rather than CClientApi's inherited request methods, so that their logic runs in tests
// against a recording fake; CClientApiRequests is the real one. Each request carries no request
// ID. A negative result means the request could not be sent.
//
// Thread contract: called on the user interface thread (the real one may be called from any).
#pragma once

#include <string>

#include "quorex/Records.h"

namespace kvt {

class CClientApi;

class CExchangeRequests {
public:
    virtual ~CExchangeRequests() = default;

    // Empties the library's server list and registers this server alone.
    virtual void UseServer(const char* host, int port) = 0;
    // The trade date of the login: 8 characters, or "" before any login.
    virtual std::string TradeDate() = 0;

    virtual int ReqTraderLogin(const TReqTraderLogin& login) = 0;
    virtual int ReqTraderLogout(const TReqTraderLogout& logout) = 0;
    virtual int ReqTraderPasswordUpdate(const TReqTraderPasswordUpdate& update) = 0;
    // indentures: a list ended by the first entry with an empty indentNo.
    virtual int ReqYqOrderEx(const TYqOrder& order, const TYqFrznElctIndenture* indentures) = 0;
    virtual int ReqYqOrderCancel(const TYqOrderCancel& cancel) = 0;
    virtual int ReqQryMemberCapital(const TReqQryMemberCapital& query) = 0;
    virtual int ReqQryElctIndenture(const TReqQryElctIndenture& query) = 0;
    virtual int ReqQryYqQuotation(const TReqQryQuotation& query) = 0;
    virtual int ReqQryYqMemberPosi(const TReqQryMemberPosi& query) = 0;
    virtual int ReqQryYqClientPosi(const TReqQryClientPosi& query) = 0;
    virtual int ReqQryYqInstElctIndent(const TReqQryInstElctIndent& query) = 0;
};

class CClientApiRequests final : public CExchangeRequests {
public:
    explicit CClientApiRequests(CClientApi& api) : m_api(api) {}

    void UseServer(const char* host, int port) override;
    std::string TradeDate() override;
    int ReqTraderLogin(const TReqTraderLogin& login) override;
    int ReqTraderLogout(const TReqTraderLogout& logout) override;
    int ReqTraderPasswordUpdate(const TReqTraderPasswordUpdate& update) override;
    int ReqYqOrderEx(const TYqOrder& order, const TYqFrznElctIndenture* indentures) override;
    int ReqYqOrderCancel(const TYqOrderCancel& cancel) override;
    int ReqQryMemberCapital(const TReqQryMemberCapital& query) override;
    int ReqQryElctIndenture(const TReqQryElctIndenture& query) override;
    int ReqQryYqQuotation(const TReqQryQuotation& query) override;
    int ReqQryYqMemberPosi(const TReqQryMemberPosi& query) override;
    int ReqQryYqClientPosi(const TReqQryClientPosi& query) override;
    int ReqQryYqInstElctIndent(const TReqQryInstElctIndent& query) override;

private:
    CClientApi& m_api;
};

}  // namespace kvt
