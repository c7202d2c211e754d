// CPageMatch: the 成交单 page. It keeps a copy of every match the exchange announces (a match return
// with success and a record), keyed by matchNo and buyOrSell, since both sides of a match between
// two of the member's own orders share the number; one row each in arrival order, overwritten in
// place when the match is announced again. The last row is the "小计" row with the total volume
// and the total trading profit of the listed matches; a repeated match leaves it alone.
//
// The subtotal row is there from the start, showing 0 and 0, so the first match is inserted
// above it like every other. The totals are kept as numbers (the profit as a double) and only
// formatted when the row is drawn, so rounding to whole amounts never accumulates.
//
// 报单时间 shows the applyTime of the 报单 page's order with the same orderNo, as found when the
// match arrives; it stays empty when that order is not known then.
//
// Thread contract: user interface thread only. Ownership: owns the match copies; the order
// lookup (the 报单 page) outlives the page.
#pragma once

#include <cstdint>
#include <vector>

#include "client/pages/ArrivalRecords.h"
#include "client/shell/ListRows.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;
class COrderLookup;

// The fields of a match the page shows; OrderTime is its order's applyTime.
enum class EMatchField {
    MatchNo, OrderNo, Instrument, Client, Direction, Offset, Price, Volume, Pledge, Profit, MatchDate, MatchTime,
    OrderTime, Trader, LocalOrderNo,
};
// order: the match's order, or null when it is not known.
std::string MatchFieldText(const CClientApi& api, const TYqMatch& match, const TYqOrder* order, EMatchField field);

class CPageMatch : public CMessageTarget, public CTraderEvents, public CListRows {
public:
    CPageMatch(const CClientApi& api, const COrderLookup& orders);

    // The matches and the subtotal row.
    int RowCount() const override { return MatchCount() + 1; }
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;

    void onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg& rsp) override;

    int MatchCount() const { return m_records.Size(); }
    int SubtotalRow() const { return MatchCount(); }
    const TYqMatch& MatchAt(int row) const { return m_records.At(row); }
    double TotalProfit() const { return m_totalProfit; }

private:
    void OnMatch(const TYqMatch& match);
    std::string SubtotalText(EMatchField field) const;

    const CClientApi& m_api;
    const COrderLookup& m_orders;
    CArrivalRecords<TYqMatch> m_records;
    // Per match row: the order it belongs to, or null when that order was not known.
    std::vector<const TYqOrder*> m_orderOfRow;
    std::int64_t m_totalVolume = 0;
    double m_totalProfit = 0.0;
};

}  // namespace kvt
