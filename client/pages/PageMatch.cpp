// CPageMatch: the matches, their subtotal and the order time of each.
#include "client/pages/PageMatch.h"

#include "client/pages/OrderLookup.h"
#include "client/shell/ClientApi.h"
#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/ResponseCode.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

using enum EMatchField;

constexpr CFieldColumn<EMatchField> kFields[] = {
    {"成交编号", 120, MatchNo},    {"报单号", 100, OrderNo},     {"商品代码", 80, Instrument},
    {"交易代码", 80, Client},      {"买卖方向", 80, Direction},  {"新订转让", 80, Offset},
    {"价格", 40, Price},           {"数量", 40, Volume},         {"履约保证形式", 100, Pledge},
    {"交易盈亏", 80, Profit},      {"成交日期", 80, MatchDate},  {"成交时间", 80, MatchTime},
    {"报单时间", 80, OrderTime},   {"交易员代码", 100, Trader},  {"本地报单号", 120, LocalOrderNo},
};
constexpr auto kColumns = PlainColumns(kFields);

int CompareMatchKey(const void* a, const void* b) {
    const auto& left = *static_cast<const TYqMatch*>(a);
    const auto& right = *static_cast<const TYqMatch*>(b);
    const int order = CompareText(left.matchNo, right.matchNo);
    if (order != 0) return order;
    return CompareBytes(static_cast<unsigned char>(left.buyOrSell), static_cast<unsigned char>(right.buyOrSell));
}

}  // namespace

CPageMatch::CPageMatch(const CClientApi& api, const COrderLookup& orders)
    : m_api(api), m_orders(orders), m_records(&CompareMatchKey) {}

std::span<const CListColumn> CPageMatch::Columns() const { return kColumns; }

std::string MatchFieldText(const CClientApi& api, const TYqMatch& match, const TYqOrder* order, EMatchField field) {
    using quorex::GbkToUtf8;
    using quorex::TextOf;
    switch (field) {
        case MatchNo: return TextOf(match.matchNo);
        case OrderNo: return TextOf(match.orderNo);
        case Instrument: return GbkToUtf8(api.YqInstIDOf(match.instID));
        case Client: return TextOf(match.clientID);
        case Direction: return GbkToUtf8(DirectionText(match.buyOrSell));
        case Offset: return GbkToUtf8(OffsetFlagText(match.offsetFlag));
        case Price: return FormatWhole(match.price);
        case Volume: return FormatInteger(match.volume);
        case Pledge: return GbkToUtf8(PledgeFlagText(match.pledgeFlag));
        case Profit: return FormatWhole(match.offsetProfit);
        case MatchDate: return TextOf(match.matchDate);
        case MatchTime: return TextOf(match.matchTime);
        case OrderTime: return order == nullptr ? std::string() : TextOf(order->applyTime);
        case Trader: return TextOf(match.traderID);
        case LocalOrderNo: return TextOf(match.localOrderNo);
    }
    return std::string();
}

std::string CPageMatch::CellText(int row, int column) const {
    const EMatchField field = kFields[static_cast<std::size_t>(column)].field;
    if (row == SubtotalRow()) return SubtotalText(field);
    return MatchFieldText(m_api, MatchAt(row), m_orderOfRow[static_cast<std::size_t>(row)], field);
}

std::string CPageMatch::SubtotalText(EMatchField field) const {
    switch (field) {
        case MatchNo: return "小计";
        case Volume: return std::to_string(m_totalVolume);
        case Profit: return FormatWhole(m_totalProfit);
        default: return std::string();
    }
}

void CPageMatch::onRecvRtnYqMatch(const TYqMatch* match, const TTRspMsg& rsp) {
    if (match != nullptr && IsSuccess(&rsp)) OnMatch(*match);
}

void CPageMatch::OnMatch(const TYqMatch& match) {
    const TYqOrder* order = m_orders.FindOrder(quorex::FieldText(match.orderNo));
    if (m_records.Find(match) != nullptr) {
        const int row = m_records.Overwrite(match);
        m_orderOfRow[static_cast<std::size_t>(row)] = order;
        RowsChanged(row, row);
        return;
    }
    const int row = MatchCount();
    BeginInsert(row, 1);
    m_records.Append(match);
    m_orderOfRow.push_back(order);
    EndInsert();
    m_totalVolume += match.volume;
    m_totalProfit += match.offsetProfit;
    RowsChanged(SubtotalRow(), SubtotalRow());
}

}  // namespace kvt
