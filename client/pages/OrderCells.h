// What the lists of orders (报单, 未成交单, 预埋单) know about one order: its fields, the text of
// each, the 17 columns of the two order lists, whether the order can still be cancelled, and the
// cancel request for it.
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

// The fields of an order a list can show; Tick is the check-box column, which has no text.
enum class EOrderField {
    Tick, OrderNo, Instrument, Direction, Offset, Price, Amount, Remain, Status, Client, Pledge, ApplyDate,
    ApplyTime, LocalOrderNo, Trader, CancelTime, Canceller,
};

// The UTF-8 text of the order's field (the instrument through the order entry page's list).
std::string OrderFieldText(const CClientApi& api, const TYqOrder& order, EOrderField field);

// The columns of 报单 and 未成交单: the check box, then the order's fields.
std::span<const CFieldColumn<EOrderField>> OrderListFields();
std::span<const CListColumn> OrderListColumns();

// 'o' 未成交 and 'p' 部分成交: the exchange still accepts a cancel.
bool IsCancellable(const TYqOrder& order);

// The cancel request for the order: its orderNo, instID, clientID, memberID and traderID.
TYqOrderCancel CancelRequestOf(const TYqOrder& order);

}  // namespace kvt
