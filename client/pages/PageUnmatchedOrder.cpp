// CPageUnmatchedOrder: rows that follow the 报单 page's copies, found by sequence number.
#include "client/pages/PageUnmatchedOrder.h"

#include <algorithm>

#include "client/pages/OrderCanceller.h"
#include "client/pages/OrderCells.h"

namespace kvt {

CPageUnmatchedOrder::CPageUnmatchedOrder(const CClientServices& services, COrderCanceller& canceller)
    : COrderListBase(services.api, services.prompter, canceller) {}

void CPageUnmatchedOrder::OnMessage(unsigned message, WParam wParam, LParam lParam) {
    // Only the 报单 page posts here, its own copies, which outlive the page's rows; the exchange's
    // events are not routed to this page.
    if (message != WM_ORDER_RTN) return;
    if (const TYqOrder* order = MessageParameter<WM_ORDER_RTN>(wParam, lParam)) OnOrder(order);
}

void CPageUnmatchedOrder::OnOrder(const TYqOrder* order) {
    const int row = RowOf(order);
    const bool cancellable = IsCancellable(*order);
    if (row >= 0) {
        if (cancellable) {
            RowsChanged(row, row);
        } else {
            Remove(row);
        }
    } else if (cancellable) {
        Append(order);
    }
}

int CPageUnmatchedOrder::RowOf(const TYqOrder* order) const {
    const auto found = m_sequenceOf.find(order);
    if (found == m_sequenceOf.end()) return -1;
    const auto at = std::lower_bound(m_rows.begin(), m_rows.end(), found->second,
                                     [](const CRow& row, std::uint64_t sequence) { return row.sequence < sequence; });
    return static_cast<int>(at - m_rows.begin());
}

void CPageUnmatchedOrder::Append(const TYqOrder* order) {
    const int row = RowCount();
    BeginInsert(row, 1);
    m_rows.push_back({order, m_nextSequence});
    m_sequenceOf.emplace(order, m_nextSequence);
    ++m_nextSequence;
    Checks().Insert(row);
    EndInsert();
}

void CPageUnmatchedOrder::Remove(int row) {
    BeginRemove(row, 1);
    m_sequenceOf.erase(m_rows[static_cast<std::size_t>(row)].order);
    m_rows.erase(m_rows.begin() + row);
    Checks().Erase(row);
    EndRemove();
}

void CPageUnmatchedOrder::CancelChecked() {
    std::vector<const TYqOrder*> orders;
    for (int row = 0; row < RowCount(); ++row) {
        if (Checks().IsChecked(row) && IsCancellable(OrderAt(row))) orders.push_back(&OrderAt(row));
    }
    Canceller().Cancel(orders);
}

}  // namespace kvt
