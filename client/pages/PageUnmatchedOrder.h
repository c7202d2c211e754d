// CPageUnmatchedOrder: the 未成交单 page, the orders that can still be cancelled. It keeps no
// copies: each row points at the 报单 page's copy of its order, which that page posts here
// (WM_ORDER_RTN, wParam the copy, lParam 0) every time the order is announced. A cancellable
// order gets a row at the end or has its row redrawn; an order that is no longer cancellable
// loses its row; any other order is ignored. Every row may be ticked, and cancelling the ticked
// rows leaves the ticks as they are.
//
// Finding a copy's row without a scan: every row gets a sequence number when it is appended, one
// higher than any before, so the rows are always in ascending sequence order, removals included.
// A hash map gives each listed copy's sequence number, and a binary search over the rows'
// sequence numbers gives its row index. An announcement therefore costs one hash lookup and
// O(log n) comparisons; a removal also shifts the row entries behind it, as the list's own rows
// are shifted.
//
// Thread contract: user interface thread only. Ownership: the order copies belong to the 报单 page,
// which outlives this page and every message posted to it.
#pragma once

#include <cstdint>
#include <unordered_map>
#include <vector>

#include "client/pages/OrderListBase.h"
#include "client/shell/ClientServices.h"

namespace kvt {

class CPageUnmatchedOrder : public COrderListBase {
public:
    // canceller: the 报单 page's (CPageOrderList::SharedCanceller).
    CPageUnmatchedOrder(const CClientServices& services, COrderCanceller& canceller);

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    const TYqOrder& OrderAt(int row) const override { return *m_rows[static_cast<std::size_t>(row)].order; }
    void OnCheckClicked(int row, bool checked) override { Checks().Set(row, checked); }
    void CancelChecked() override;

    // WM_ORDER_RTN from the 报单 page.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;

    // The row of the copy, or -1 when it is not listed.
    int RowOf(const TYqOrder* order) const;

private:
    struct CRow {
        const TYqOrder* order;
        std::uint64_t sequence;
    };

    void OnOrder(const TYqOrder* order);
    void Append(const TYqOrder* order);
    void Remove(int row);

    std::vector<CRow> m_rows;
    std::unordered_map<const TYqOrder*, std::uint64_t> m_sequenceOf;
    std::uint64_t m_nextSequence = 0;
};

}  // namespace kvt
