// The order's fields, their texts and the order lists' columns.
#include "client/pages/OrderCells.h"

#include "client/shell/ClientApi.h"
#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

using enum EOrderField;

constexpr CFieldColumn<EOrderField> kFields[] = {
    {"", 16, Tick},                  {"报单号", 100, OrderNo},     {"商品代码", 80, Instrument},
    {"买卖", 40, Direction},         {"新订转让", 60, Offset},     {"价格", 40, Price},
    {"数量", 40, Amount},            {"剩余数量", 60, Remain},     {"状态", 80, Status},
    {"交易代码", 60, Client},        {"履约保证", 120, Pledge},    {"申报日期", 80, ApplyDate},
    {"申报时间", 80, ApplyTime},     {"本地报单号", 100, LocalOrderNo}, {"交易员代码", 100, Trader},
    {"撤消时间", 80, CancelTime},    {"撤消员代码", 80, Canceller},
};
constexpr auto kColumns = PlainColumns(kFields);

}  // namespace

std::span<const CFieldColumn<EOrderField>> OrderListFields() { return kFields; }
std::span<const CListColumn> OrderListColumns() { return kColumns; }

std::string OrderFieldText(const CClientApi& api, const TYqOrder& order, EOrderField field) {
    using quorex::GbkToUtf8;
    using quorex::TextOf;
    switch (field) {
        case Tick: return std::string();
        case OrderNo: return TextOf(order.orderNo);
        case Instrument: return GbkToUtf8(api.YqInstIDOf(order.instID));
        case Direction: return GbkToUtf8(DirectionText(order.buyOrSell));
        case Offset: return GbkToUtf8(OffsetFlagText(order.offSetFlag));
        case Price: return FormatWhole(order.price);
        case Amount: return FormatInteger(order.amount);
        case Remain: return FormatInteger(order.remainAmount);
        case Status: return GbkToUtf8(OrderStatusText(order.status));
        case Client: return TextOf(order.clientID);
        case Pledge: return GbkToUtf8(PledgeFlagText(order.pledgeFlag));
        case ApplyDate: return TextOf(order.applyDate);
        case ApplyTime: return TextOf(order.applyTime);
        case LocalOrderNo: return TextOf(order.localOrderNo);
        case Trader: return TextOf(order.traderID);
        case CancelTime: return TextOf(order.cancelTime);
        case Canceller: return TextOf(order.cancelID);
    }
    return std::string();
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
