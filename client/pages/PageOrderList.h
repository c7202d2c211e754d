// CPageOrderList: the 报单 page. It keeps a copy of every order of the day that the exchange
// announces (an order, cancel or forced-order return with success and a record), one row each in arrival order, overwritten
// in place when the order changes. A new order's row is shown and selected and the page asks the
// tab control to bring it to the front. Every announced copy is then posted on to the 未成交单
// page (WM_ORDER_RTN, wParam the copy, lParam 0). The answers to cancel requests go to the status
// line, sender WM_ORDER_CANCEL_RSP.
//
// Only a cancellable order's row takes a tick; a click on any other row's box is undone. Cancelling
// the ticked rows unticks them all and cancels those still cancellable.
//
// Thread contract: user interface thread only. Ownership: owns the order copies, which stay at
// their address for the life of the page (the 未成交单 and match pages point at them), and the
// canceller that both order pages use.
#pragma once

#include <string_view>

#include "client/pages/ArrivalRecords.h"
#include "client/pages/OrderCanceller.h"
#include "client/pages/OrderListBase.h"
#include "client/pages/OrderLookup.h"
#include "client/shell/ClientServices.h"
#include "client/shell/TraderEvents.h"

namespace kvt {

class CPageOrderList : public COrderListBase, public CTraderEvents, public COrderLookup {
public:
    explicit CPageOrderList(const CClientServices& services);

    int RowCount() const override { return m_records.Size(); }
    const TYqOrder& OrderAt(int row) const override { return m_records.At(row); }
    void OnCheckClicked(int row, bool checked) override;
    void CancelChecked() override;

    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg& rsp) override;
    void onRecvRtnYqOrderCancel(const TYqOrder* order, const TTRspMsg& rsp) override { onRecvRtnYqOrder(order, rsp); }
    void onRecvRtnForceYqOrder(const TYqOrder* order, const TTRspMsg& rsp) override { onRecvRtnYqOrder(order, rsp); }
    void onRecvRspYqOrderCancel(const TYqOrderCancel* cancel, const TTRspMsg& rsp) override;

    const TYqOrder* FindOrder(std::string_view orderNo) const override;

    // The canceller the 未成交单 page shares, so that both pages' cancels keep one pace.
    COrderCanceller& SharedCanceller() { return m_canceller; }

private:
    void OnOrder(const TYqOrder& order);

    CClientApi& m_api;
    CMessageBridge& m_bridge;
    CStatusLine& m_status;
    COrderCanceller m_canceller;
    CArrivalRecords<TYqOrder> m_records;
};

}  // namespace kvt
