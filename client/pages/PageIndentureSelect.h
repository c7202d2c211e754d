// CPageIndentureSelect: the logic of the modeless dialog "电子货单选择", in which the trader picks
// the electronic indentures that an order freezes. 选择货单 on the order entry page opens it in one
// of two modes, '0' for a new sell contract (an indenture's available amount is what it can
// freeze) and '1' for a buy transfer (its occupied amount less what transfers have frozen); the
// answers to the page's query become the rows, but only indentures usable in this market with at
// least one lot to freeze. Each row has a check box and an editable amount in column 0: ticking
// fills in the freezable amount, unticking empties it, and the trader may type another amount.
// 确定 makes the ticked rows with an amount the selection, tells the order entry page with a posted
// WM_INDENTURE_SELECTED and closes; with nothing to take it says so in a box.
//
// The selection is a list of copies of the chosen indenture records whose avaAmount holds the
// amount to freeze, in row order; the order entry page reads and clears it.
//
// Thread contract: user interface thread only. Ownership: owns the listed copies and the
// selection; the view is the widget's, attached while it exists.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "client/shell/ClientServices.h"
#include "client/shell/ListRows.h"
#include "client/shell/TraderEvents.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"

namespace kvt {

class CIndentureSelectView {
public:
    virtual ~CIndentureSelectView() = default;
    virtual void Show() = 0;
    virtual void Close() = 0;
};

class CPageIndentureSelect : public CTraderEvents, public CListRows {
public:
    static constexpr char kNewSellMode = '0';
    static constexpr char kBuyTransferMode = '1';

    explicit CPageIndentureSelect(const CClientServices& services);

    void Attach(CIndentureSelectView* view) { m_view = view; }

    // Empties the list, sets the mode, sends the query and shows the dialog.
    void Open(char mode, const TReqQryInstElctIndent& query);
    void OnConfirm();  // 确定
    void OnCancel();   // 取消

    char Mode() const { return m_mode; }
    const std::vector<TElctIndenture>& Selection() const { return m_selection; }
    // The sum of the selection's amounts.
    std::int64_t SelectedAmount() const;
    void ClearSelection() { m_selection.clear(); }

    int RowCount() const override { return static_cast<int>(m_rows.size()); }
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;
    bool HasCheckBoxes() const override { return true; }
    bool IsRowChecked(int row) const override { return m_rows[static_cast<std::size_t>(row)].checked; }
    void OnCheckClicked(int row, bool checked) override;
    bool IsCellEditable(int row, int column) const override { return (void)row, column == 0; }
    void SetCellText(int row, int column, std::string_view utf8) override;

    // The instrument's indentures, as the query answers them.
    void onRecvRspQryYqInstElctIndent(const TElctIndenture* indenture, const TTRspMsg& rsp) override;

    const TElctIndenture& Record(int row) const { return *m_rows[static_cast<std::size_t>(row)].record; }

private:
    struct CRow {
        const TElctIndenture* record;  // the copy in m_records
        bool checked = false;
        std::string amount;  // the edit field, UTF-8
    };

    // What this indenture can freeze in the current mode.
    std::int64_t FreezableAmount(const TElctIndenture& indenture) const;

    CClientServices m_services;
    CIndentureSelectView* m_view = nullptr;
    char m_mode = kNewSellMode;
    CTypedRecordTable<TElctIndenture> m_records;
    std::vector<CRow> m_rows;
    std::vector<TElctIndenture> m_selection;
};

}  // namespace kvt
