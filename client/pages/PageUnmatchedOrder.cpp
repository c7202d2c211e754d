// CPageUnmatchedOrder: rows that follow the 报单 page's copies, found by sequence number.
#include "client/pages/PageUnmatchedOrder.h"

#include <algorithm>

#include "client/pages/OrderCanceller.h"
#include "client/pages/OrderCells.h"

namespace kvt {

CPageUnmatchedOrder::CPageUnmatchedOrder(const CClientServices& services, COrderCanceller& canceller)
    : COrderListBase(services.api, services.prompter, canceller) {}

void CPageUnmatchedOrder::OnMessage(unsigned message, WParam wParam, LParam lParam) {
    // The 报单 page posts its own copy without a response record. A message that carries one would
    // point at a record borrowed from the library for the time of the call, which must not be kept.
    if (message != WM_ORDER_RTN || lParam != 0) return;
    if (const auto* order = MessageRecord<TYqOrder>(wParam)) OnOrder(order);
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
