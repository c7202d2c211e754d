// COrderListBase: the shared cells, menu and cancel-all of the order lists.
#include "client/pages/OrderListBase.h"

#include "client/pages/OrderCanceller.h"
#include "client/pages/OrderCells.h"
#include "client/shell/Prompter.h"

namespace kvt {

std::string_view MenuItemText(EOrderMenuItem item) {
    return item == EOrderMenuItem::CancelChecked ? "撤销选中未成交单" : "撤销所有未成交单";
}

std::span<const CListColumn> COrderListBase::Columns() const { return OrderListColumns(); }

std::string COrderListBase::CellText(int row, int column) const {
    return OrderFieldText(m_api, OrderAt(row), OrderListFields()[static_cast<std::size_t>(column)].field);
}

std::vector<EOrderMenuItem> COrderListBase::MenuItems() const {
    if (m_checks.CheckedCount() == 0) return {EOrderMenuItem::CancelAll};
    return {EOrderMenuItem::CancelChecked, EOrderMenuItem::CancelAll};
}

void COrderListBase::RunMenuItem(EOrderMenuItem item) {
    if (item == EOrderMenuItem::CancelChecked) {
        CancelChecked();
    } else {
        CancelAll();
    }
}

void COrderListBase::CancelAll() {
    if (!m_prompter.AskYesNo("确定撤销所有报单?", "准备撤销全部报单")) return;
    std::vector<const TYqOrder*> orders;
    for (int row = 0; row < RowCount(); ++row) {
        if (IsCancellable(OrderAt(row))) orders.push_back(&OrderAt(row));
    }
    m_canceller.Cancel(orders);
}

}  // namespace kvt
