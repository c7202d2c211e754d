// CPageQuotation: the 行情 page. One row per instrument with its latest quotation, in yqInstID
// order: a quotation (pushed, queried or closing; any record, whatever its code) overwrites the instrument's
// copy, or is stored and gets a row before the first row whose yqInstID is greater. Rows are never
// removed. The stored copies are what the order entry page reads for its quote panel
// (CQuotationSource).
//
// The page is drawn by its own delegate, from what this logic says through the list model's roles:
// - a cell's text and tone (DrawnCell; DrawnText and TextColour): 涨跌 and 涨跌幅度 carry a mark,
//   "▲" in the rising colour for a value above 0, "▼" in the falling colour for one below, none for
//   0; other cells are plain text in the normal colour;
// - a row's background band (RowBand; Background): rows of one product group (the first three
//   characters of yqInstID) share a grey level, 225 or 255; each group met for the first time
//   gets the level not given last, starting with 225, and keeps it. The end of the initial download
//   meets the groups of all instruments of the order entry page's list in that list's order, then
//   those of the rows listed by then, in row order (nothing is drawn before it: the main window is
//   hidden); afterwards a group is met with its first row.
// The exchange sends upDownRate as an unsigned fraction (0.0123 for 1.23 %); the sign of the
// change is taken from upDown.
//
// Context menu over a row: 买入新订, 卖出新订, 转让卖出, 转让买入, which prefill the order entry form
// from the row's quotation.
//
// Thread contract: user interface thread only.
// Ownership: owns the copies of the quotations; the prefill target is borrowed and may be absent.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "client/pages/PageLinks.h"
#include "client/pages/RowMenu.h"
#include "client/shell/ListRows.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;

// Normal text follows the selection's text colour on a selected row; rising and falling keep theirs.
enum class EQuoteTone { Normal, Rising, Falling };
CRgb ColourOf(EQuoteTone tone);

struct CQuoteCell {
    std::string text;  // UTF-8; empty: nothing is drawn
    EQuoteTone tone;
    bool operator==(const CQuoteCell&) const = default;
};

// The fields of a quotation the page shows.
enum class EQuotationField {
    Code, Last, UpDown, Bid, BidLot, Ask, AskLot, Volume, Position, Open, High, Low, Average, UpDownRate,
    LastAverage, Turnover,
};
// The field's value as formatted, before any mark (UTF-8).
std::string QuotationFieldText(const TYqQuotation& quotation, EQuotationField field);

class CPageQuotation : public CMessageTarget, public CTraderEvents, public CListRows, public CQuotationSource, public CRowMenu {
public:
    static constexpr int kUpDownColumn = 2;
    static constexpr int kUpDownRateColumn = 13;
    static constexpr int kBandGrey = 225;
    static constexpr int kBandWhite = 255;

    explicit CPageQuotation(CClientApi& api, COrderPrefill* prefill = nullptr);

    // The order entry page, once it exists; null until then (the menu then does nothing).
    void SetOrderPrefill(COrderPrefill* prefill) { m_prefill = prefill; }

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    std::span<const CListColumn> Columns() const override;
    // The cell's value as formatted, before any mark.
    std::string CellText(int row, int column) const override;
    // The cell as it is drawn.
    CQuoteCell DrawnCell(int row, int column) const;
    // The grey level of the row's background; white while its product group has no band yet.
    int RowBand(int row) const;
    std::string DrawnText(int row, int column) const override { return DrawnCell(row, column).text; }
    std::optional<CRgb> TextColour(int row, int column) const override;
    std::optional<CRgb> Background(int row) const override;

    // A quotation pushed on the market flow, one that answers the board's query, and a closing one.
    void onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg& rsp) override;
    void onRecvRspQryYqQuotation(const TYqQuotation* quotation, const TTRspMsg& rsp) override { onRecvYqQuotation(quotation, rsp); }
    void onRecvYqCloseQuotation(const TYqQuotation* quotation, const TTRspMsg& rsp) override { onRecvYqQuotation(quotation, rsp); }
    void onRecvReqSendOver() override;

    const TYqQuotation* FindQuotation(const char* instID) const override;
    const TYqQuotation& Quotation(int row) const { return *m_rows[static_cast<std::size_t>(row)]; }

    std::span<const std::string_view> MenuItems(int row) const override;
    void OnMenuItem(int row, int item) override;

private:
    void OnQuotation(const TYqQuotation& quotation);
    // Gives the product group of the code a band unless it has one.
    void MeetGroup(std::string_view yqInstID);
    // Puts a new row for the stored quotation at the place of its yqInstID.
    void InsertRow(const TYqQuotation* stored);
    int RowOf(const TYqQuotation* stored) const;

    CClientApi& m_api;
    COrderPrefill* m_prefill;
    CTypedRecordTable<TYqQuotation> m_quotations;  // keyed by instID, then by yqInstID
    std::vector<const TYqQuotation*> m_rows;  // sorted by yqInstID
    std::map<std::string, int, std::less<>> m_bands;  // product group -> grey level
    int m_lastBand = kBandWhite;                      // so that the first group gets the grey one
    bool m_initialDataDone = false;                   // bands are given from then on
};

}  // namespace kvt
