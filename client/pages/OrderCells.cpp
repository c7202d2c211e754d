// The order lists' columns and cell texts.
#include "client/pages/OrderCells.h"

#include "client/shell/ClientApi.h"
#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr CListColumn kColumns[kOrderColumnCount] = {
    {"", 16},          {"报单号", 100},   {"商品代码", 80},  {"买卖", 40},        {"新订转让", 60},
    {"价格", 40},      {"数量", 40},      {"剩余数量", 60},  {"状态", 80},        {"交易代码", 60},
    {"履约保证", 120}, {"申报日期", 80},  {"申报时间", 80},  {"本地报单号", 100}, {"交易员代码", 100},
    {"撤消时间", 80},  {"撤消员代码", 80},
};

}  // namespace

std::span<const CListColumn> OrderColumns() { return kColumns; }

std::string OrderCellText(const CClientApi& api, const TYqOrder& order, int column) {
    using quorex::GbkToUtf8;
    using quorex::TextOf;
    switch (column) {
        case 1: return TextOf(order.orderNo);
        case 2: return GbkToUtf8(api.YqInstIDOf(order.instID));
        case 3: return GbkToUtf8(DirectionText(order.buyOrSell));
        case 4: return GbkToUtf8(OffsetFlagText(order.offSetFlag));
        case 5: return FormatWhole(order.price);
        case 6: return FormatInteger(order.amount);
        case 7: return FormatInteger(order.remainAmount);
        case 8: return GbkToUtf8(OrderStatusText(order.status));
        case 9: return TextOf(order.clientID);
        case 10: return GbkToUtf8(PledgeFlagText(order.pledgeFlag));
        case 11: return TextOf(order.applyDate);
        case 12: return TextOf(order.applyTime);
        case 13: return TextOf(order.localOrderNo);
        case 14: return TextOf(order.traderID);
        case 15: return TextOf(order.cancelTime);
        case 16: return TextOf(order.cancelID);
        default: return std::string();
    }
}

bool IsCancellable(const TYqOrder& order) { return order.status == 'o' || order.status == 'p'; }

TYqOrderCancel CancelRequestOf(const TYqOrder& order) {
    TYqOrderCancel cancel{};
    quorex::SetText(cancel.orderNo, quorex::FieldText(order.orderNo));
    quorex::SetText(cancel.instID, quorex::FieldText(order.instID));
    quorex::SetText(cancel.clientID, quorex::FieldText(order.clientID));
    quorex::SetText(cancel.memberID, quorex::FieldText(order.memberID));
    quorex::SetText(cancel.traderID, quorex::FieldText(order.traderID));
    return cancel;
}

}  // namespace kvt
