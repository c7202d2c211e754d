// COrderListBase: what the 报单 and 未成交单 pages share. Both show orders in the same 17 columns
// with a check box in column 0, and both offer the same context menu: "撤销选中未成交单" (cancel the
// ticked orders, only offered while a row is ticked) and "撤销所有未成交单" (after a confirmation,
// cancel every cancellable order). The cancels go through the shared COrderCanceller. A page
// says where its rows' orders are (OrderAt), how a click on a tick is taken, and what cancelling
// the ticked rows does to the ticks.
//
// Thread contract: user interface thread only. Ownership: the api, the prompter and the canceller
// belong to the caller and outlive the page.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "client/shell/CheckRows.h"
#include "client/shell/ListRows.h"
#include "client/shell/MessageTarget.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;
class COrderCanceller;
class CPrompter;

enum class EOrderMenuItem { CancelChecked, CancelAll };

// The item's caption (UTF-8).
std::string_view MenuItemText(EOrderMenuItem item);

class COrderListBase : public CMessageTarget, public CListRows {
public:
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;
    bool HasCheckBoxes() const override { return true; }
    bool IsRowChecked(int row) const override { return m_checks.IsChecked(row); }

    // The order shown in the row.
    virtual const TYqOrder& OrderAt(int row) const = 0;

    // The context menu for the ticks as they are now, top to bottom.
    std::vector<EOrderMenuItem> MenuItems() const;
    void RunMenuItem(EOrderMenuItem item);

    virtual void CancelChecked() = 0;
    // Asks "确定撤销所有报单?"; on yes cancels every cancellable row's order, from the top.
    void CancelAll();

protected:
    COrderListBase(const CClientApi& api, CPrompter& prompter, COrderCanceller& canceller)
        : m_api(api), m_prompter(prompter), m_canceller(canceller) {}

    CCheckRows& Checks() { return m_checks; }
    const CCheckRows& Checks() const { return m_checks; }
    COrderCanceller& Canceller() const { return m_canceller; }

private:
    const CClientApi& m_api;
    CPrompter& m_prompter;
    COrderCanceller& m_canceller;
    CCheckRows m_checks;
};

}  // namespace kvt
