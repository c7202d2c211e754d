// CPageOrderList: the orders of the day, their ticks and the hand-over to the 未成交单 page.
#include "client/pages/PageOrderList.h"

#include "client/pages/OrderCells.h"
#include "client/pages/PageWindows.h"
#include "client/shell/ClientApi.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/ResponseCode.h"
#include "client/shell/StatusLine.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

int CompareOrderNo(const void* a, const void* b) {
    return CompareText(static_cast<const TYqOrder*>(a)->orderNo, static_cast<const TYqOrder*>(b)->orderNo);
}

}  // namespace

// The base keeps a reference to the canceller, which it does not use before this constructor's
// members are made.
CPageOrderList::CPageOrderList(const CClientServices& services)
    : COrderListBase(services.api, services.prompter, m_canceller), m_api(services.api), m_bridge(services.bridge),
      m_status(services.status), m_canceller(services.requests, services.timers),
      m_records(&CompareOrderNo) {}

void CPageOrderList::onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg& rsp) {
    if (order != nullptr && IsSuccess(&rsp)) OnOrder(*order);
}

void CPageOrderList::onRecvRspYqOrderCancel(const TYqOrderCancel*, const TTRspMsg& rsp) {
    // The status line keeps its own copy: the delivered record is gone once this returns.
    m_status.Forward(rsp, WM_ORDER_CANCEL_RSP);
}

void CPageOrderList::OnOrder(const TYqOrder& order) {
    const TYqOrder* stored = m_records.Find(order);
    if (stored != nullptr) {
        const int row = m_records.Overwrite(order);
        RowsChanged(row, row);
    } else {
        const int row = RowCount();
        BeginInsert(row, 1);
        stored = m_records.Append(order);
        Checks().Insert(row);
        EndInsert();
        ShowRow(row);
        m_bridge.Post(m_api.Windows().Window(EShellWindow::TabControl), WM_SELECT_PAGE,
                      MessageWParam<WM_SELECT_PAGE>(this), 0);
    }
    m_bridge.Post(m_api.Windows().Window(IdOf(EPageWindow::UnmatchedOrderPage)), WM_ORDER_RTN, MessageWParam<WM_ORDER_RTN>(stored), 0);
}

void CPageOrderList::OnCheckClicked(int row, bool checked) {
    if (checked && !IsCancellable(OrderAt(row))) {
        // The box shows a tick the row may not have: have it drawn again from the row.
        RowsChanged(row, row);
        return;
    }
    Checks().Set(row, checked);
}

void CPageOrderList::CancelChecked() {
    std::vector<const TYqOrder*> orders;
    for (int row = 0; row < RowCount() && Checks().CheckedCount() > 0; ++row) {
        if (!Checks().IsChecked(row)) continue;
        Checks().Set(row, false);
        RowsChanged(row, row);
        if (IsCancellable(OrderAt(row))) orders.push_back(&OrderAt(row));
    }
    Canceller().Cancel(orders);
}

const TYqOrder* CPageOrderList::FindOrder(std::string_view orderNo) const {
    TYqOrder probe{};
    quorex::SetText(probe.orderNo, orderNo);
    return m_records.Find(probe);
}

}  // namespace kvt
