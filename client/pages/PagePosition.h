// CPagePosition: the 订货量 page. It lists the positions of the member's clients grouped by
// instrument: each instrument's client rows, then its "小计" row from the member's own position
// in it, and the "合计" row last, summing the member's own positions.
//
// 刷新 (WM_PAGE_REFRESH) empties the page and asks for the member positions and the client
// positions; the two answers then arrive as separate notifications in any order:
// - a member position (success, a record, the member's own account '0') is stored
//   and marks the totals for recomputing; the totals are written when the next client position is
//   placed, so member positions arriving after the last client position leave them as they were;
// - a client position (success, a record) is stored and placed, unless all its
//   holdings and frozen amounts are 0: a new instrument's rows go just above the total row, a
//   further client of an instrument joins its group at the place of the group's last client row.
//   An instrument's "小计" row is made with its first client row, from the member position stored
//   by then; without one the instrument has no subtotal until the next refresh.
// The total row exists whenever the list has rows and is always the last one; the totals are
// written into it and nowhere else.
//
// Context menu over a client row: 转让买入 and 转让卖出, which prefill the order entry form from the
// row's position.
//
// Thread contract: user interface thread only.
// Ownership: owns the copies of the records; the prefill target is borrowed and may be absent.
#pragma once

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "client/pages/RowMenu.h"
#include "client/shell/ListRows.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;
class CExchangeRequests;
class COrderPrefill;

class CPagePosition : public CMessageTarget, public CTraderEvents, public CListRows, public CRowMenu {
public:
    CPagePosition(CClientApi& api, CExchangeRequests& requests, COrderPrefill* prefill = nullptr);

    // The order entry page, once it exists; null until then (the menu then does nothing).
    void SetOrderPrefill(COrderPrefill* prefill) { m_prefill = prefill; }

    int RowCount() const override { return m_rowCount; }
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;

    void onRecvRspQryYqMemberPosi(const TYqMemberPosi* position, const TTRspMsg& rsp) override;
    void onRecvRspQryYqClientPosi(const TYqClientPosi* position, const TTRspMsg& rsp) override;
    // WM_PAGE_REFRESH.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;

    // The client position of a client row; null for a subtotal or the total row.
    const TYqClientPosi* ClientPosition(int row) const;

    std::span<const std::string_view> MenuItems(int row) const override;
    void OnMenuItem(int row, int item) override;

private:
    // One instrument's rows: its client rows in row order, then its subtotal row if it has one.
    struct CInstrumentRows {
        int firstRow;
        std::vector<const TYqClientPosi*> clients;
        const TYqMemberPosi* subtotal;  // the member position of the subtotal row; null: none
        int SubtotalRow() const { return firstRow + static_cast<int>(clients.size()); }
        int RowCount() const { return static_cast<int>(clients.size()) + (subtotal != nullptr ? 1 : 0); }
    };
    struct CTotals {
        int longPosi;
        int shortPosi;
        double dummyProfit;
    };
    // What a row shows: one of an instrument's rows, or the total row (instrument null).
    struct CRowPlace {
        const CInstrumentRows* instrument;
        int offset;  // within the instrument's rows
    };

    void Refresh();
    void PlaceNewClientRow(const TYqClientPosi& stored);
    void EnsureTotalRow();
    void WritePendingTotals();
    CRowPlace PlaceOf(int row) const;
    CInstrumentRows* InstrumentRowsOf(std::string_view instID);
    int TotalRow() const { return m_rowCount - 1; }

    CClientApi& m_api;
    CExchangeRequests& m_requests;
    COrderPrefill* m_prefill;
    CTypedRecordTable<TYqClientPosi> m_clientPositions;  // keyed by clientID, instID
    CTypedRecordTable<TYqMemberPosi> m_memberPositions;  // keyed by memberID, instID
    // In row order: an instrument's rows are never moved behind another's, since a new instrument
    // always goes last (above the total row).
    std::vector<CInstrumentRows> m_instruments;
    std::map<std::string, std::size_t, std::less<>> m_instrumentByID;  // instID -> m_instruments index
    int m_rowCount = 0;  // the instruments' rows and, when there are any rows, the total row
    bool m_totalsPending = false;
    std::optional<CTotals> m_totals;  // none until first computed after a refresh
};

}  // namespace kvt
