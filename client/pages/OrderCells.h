// What the two order lists (报单 and 未成交单) have in common about one order: their 17 columns,
// the text of each cell, whether the order can still be cancelled, and the cancel request for it.
//
// Thread contract: user interface thread only (the instrument lookup reads the order entry page's
// table).
#pragma once

#include <span>
#include <string>

#include "client/shell/ListRows.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;

inline constexpr int kOrderColumnCount = 17;

// Column 0 is the check box, with an empty heading.
std::span<const CListColumn> OrderColumns();

// The UTF-8 text of a column of the order's row; column 0 has none.
std::string OrderCellText(const CClientApi& api, const TYqOrder& order, int column);

// 'o' 未成交 and 'p' 部分成交: the exchange still accepts a cancel.
bool IsCancellable(const TYqOrder& order);

// The cancel request for the order: its orderNo, instID, clientID, memberID and traderID.
TYqOrderCancel CancelRequestOf(const TYqOrder& order);

}  // namespace kvt
