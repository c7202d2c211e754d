// CClientApi: the client's one API object. It derives from the library's CTraderApi, so the
// windows send their requests by calling the inherited request methods on it, and it is
// - the window registry: every window that must hear of exchange events registers itself here;
// - the bridge: the callbacks the client uses become synchronous window messages, sent through a
//   CMessageBridge to the registered windows in a fixed order (the routing below); the record and
//   the TTRspMsg are passed by pointer and the windows copy what they keep;
// - the holder of the login state (CLoginState).
//
// Routing (every other callback keeps the library's empty default; receivers are served one after
// the other, each to completion; a receiver that is not registered gets nothing):
//   onChannelLost                 logged out; with the login dialog registered: WM_CHANNEL_LOST (0, a
//                                 TTRspMsg holding the first 60 characters of the reason) to it;
//                                 otherwise WM_CHANNEL_LOST to the pre-order page, then
//                                 WM_STATUS_TEXT (kStatusConnectionLost, the same TTRspMsg) to the
//                                 main frame
//   onRecvReqSendOver             WM_INIT_DATA_DONE to the quotation page, login dialog, order entry
//                                 page, pre-order page
//   onRecvRspTraderLogin          only with the login dialog registered: WM_LOGIN_RSP to it, then on
//                                 success the login state is filled
//   onRecvRspTraderLogout         logged out
//   onRecvRspYqOrder              WM_ORDER_RSP to the order entry page, pre-order page
//   onRecvRtnYqOrder,
//   onRecvRtnYqOrderCancel        WM_ORDER_RTN to the order list page, order entry page, pre-order page
//   onRecvRtnForceYqOrder         WM_ORDER_RTN to the order list page
//   onRecvRspYqOrderCancel        WM_ORDER_CANCEL_RSP to the order list page
//   onRecvRtnYqMatch              WM_MATCH_RTN to the match page
//   onRecvYqQuotation             WM_YQ_QUOTATION to the quotation page, order entry page
//   onRecvRspQryYqQuotation,
//   onRecvYqCloseQuotation        WM_YQ_QUOTATION to the quotation page
//   onRecvYuanQiInstInfo          WM_INST_INFO to the order entry page
//   onRecvRspQryMemberCapital     WM_MEMBER_CAPITAL to the capital page, order entry page
//   onRecvRspQryYqClientPosi      WM_CLIENT_POSI to the position page
//   onRecvRspQryYqMemberPosi      WM_QRY_RESULT to the order entry page, position page
//   onRecvRspQryElctIndenture     WM_QRY_RESULT to the e-indenture page
//   onRecvRspQryYqInstElctIndent  WM_QRY_RESULT to the indenture select page
//   onRecvRspTraderPasswordUpdate WM_PASSWORD_RSP to the password dialog, then WM_STATUS_TEXT (0, the
//                                 callback's TTRspMsg) to the main frame
//
// Thread contract: callbacks run on the library's reactor thread; registration, the instrument
// table and YqInstIDOf belong to the user interface thread; CLoginState says who touches what.
// Ownership: the main frame owns this object; the bridge is owned outside and must outlive it.
// The destructor stops the bridge first, so a reactor thread blocked in a delivery is released,
// and then stops the library's reactor thread, before any member goes.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <ctime>
#include <functional>
#include <initializer_list>
#include <string>

#include "client/shell/LoginState.h"
#include "client/shell/MessageBridge.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/quorex.h"

namespace kvt {

enum class EWindow {
    MainFrame,
    LoginDialog,          // registered while the login dialog exists
    PasswordDialog,       // registered while the password dialog exists
    QuotationPage,
    OrderListPage,
    MatchPage,
    PositionPage,
    CapitalPage,
    OrderEntryPage,
    ElctIndenturePage,
    IndentureSelectPage,
    UnmatchedOrderPage,   // registered, but no callback delivers to it
    PreOrderPage,
    TabControl,
};
inline constexpr std::size_t kWindowCount = static_cast<std::size_t>(EWindow::TabControl) + 1;

class CClientApi : public CTraderApi {
public:
    using NowFunction = std::function<std::time_t()>;

    // now gives the local time for the server clock offset; the system clock by default.
    explicit CClientApi(CMessageBridge& bridge, NowFunction now = [] { return std::time(nullptr); });
    ~CClientApi() override;
    // Ends all deliveries and stops the library's reactor thread; the destructor does it too.
    // Whoever owns the windows calls it before destroying them. Idempotent.
    void Stop();

    // Registers a window, or unregisters it with null.
    void Register(EWindow window, CMessageTarget* target) { WindowRef(window).Set(target); }
    const CWindowRef& Window(EWindow window) const { return m_windows[static_cast<std::size_t>(window)]; }
    // The order entry page's instruments: TYuanQiInst records with CompareInstrumentKey as index 0
    // (CDesignError otherwise); null unregisters it.
    void SetInstrumentTable(const CTypedRecordTable<TYuanQiInst>* instruments);
    const CTypedRecordTable<TYuanQiInst>* InstrumentTable() const { return m_instruments; }
    // The 10-character yqInstID of the instrument with this instID (6 characters); "" when unknown.
    std::string YqInstIDOf(const char* instID) const;

    // Records the callbacks have carried so far (any thread may read it; the login dialog shows the
    // count while the initial data downloads).
    std::uint64_t DeliveredRecordCount() const { return m_deliveredRecords.load(std::memory_order_relaxed); }

    CLoginState& LoginState() { return m_login; }
    const CLoginState& LoginState() const { return m_login; }

    void onChannelLost(const char* reason) override;
    void onRecvReqSendOver() override;
    void onRecvRspTraderLogin(const TReqTraderLogin* login, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspTraderLogout(const TReqTraderLogout* logout, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRtnYqOrderCancel(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRtnForceYqOrder(const TYqOrder* order, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspYqOrderCancel(const TYqOrderCancel* cancel, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspQryYqQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvYqCloseQuotation(const TYqQuotation* quotation, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvYuanQiInstInfo(const TYuanQiInst* instrument, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspQryYqClientPosi(const TYqClientPosi* position, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspQryYqMemberPosi(const TYqMemberPosi* position, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspQryElctIndenture(const TElctIndenture* indenture, const TTRspMsg* rsp, const char* requestId) override;
    void onRecvRspQryYqInstElctIndent(const TElctIndenture* indenture, const TTRspMsg* rsp,
                                      const char* requestId) override;
    void onRecvRspTraderPasswordUpdate(const TReqTraderPasswordUpdate* update, const TTRspMsg* rsp,
                                       const char* requestId) override;

private:
    CWindowRef& WindowRef(EWindow window) { return m_windows[static_cast<std::size_t>(window)]; }
    bool IsRegistered(EWindow window) const { return Window(window).IsSet(); }
    void Send(EWindow window, unsigned message, WParam wParam, LParam lParam) {
        m_bridge.Send(Window(window), message, wParam, lParam);
    }
    // One message to several windows, served in this order, in one hand-off to the user
    // interface thread.
    void SendEach(std::initializer_list<EWindow> windows, unsigned message, WParam wParam, LParam lParam);
    template <class Record>
    void SendRecord(std::initializer_list<EWindow> windows, unsigned message, const Record* record,
                    const TTRspMsg* rsp) {
        if (record != nullptr) m_deliveredRecords.fetch_add(1, std::memory_order_relaxed);
        SendEach(windows, message, AsWParam(record), AsLParam(rsp));
    }

    CMessageBridge& m_bridge;
    NowFunction m_now;
    std::array<CWindowRef, kWindowCount> m_windows;
    const CTypedRecordTable<TYuanQiInst>* m_instruments = nullptr;
    CLoginState m_login;
    std::atomic<std::uint64_t> m_deliveredRecords{0};
};

}  // namespace kvt
