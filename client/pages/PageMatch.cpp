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

constexpr CListColumn kColumns[] = {
    {"成交编号", 120}, {"报单号", 100},   {"商品代码", 80},     {"交易代码", 80},  {"买卖方向", 80},
    {"新订转让", 80},  {"价格", 40},      {"数量", 40},         {"履约保证形式", 100}, {"交易盈亏", 80},
    {"成交日期", 80},  {"成交时间", 80},  {"报单时间", 80},     {"交易员代码", 100}, {"本地报单号", 120},
};

constexpr int kVolumeColumn = 7;
constexpr int kProfitColumn = 9;

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

std::string CPageMatch::CellText(int row, int column) const {
    return row == SubtotalRow() ? SubtotalCellText(column) : MatchCellText(row, column);
}

std::string CPageMatch::MatchCellText(int row, int column) const {
    using quorex::GbkToUtf8;
    using quorex::TextOf;
    const TYqMatch& match = MatchAt(row);
    switch (column) {
        case 0: return TextOf(match.matchNo);
        case 1: return TextOf(match.orderNo);
        case 2: return GbkToUtf8(m_api.YqInstIDOf(match.instID));
        case 3: return TextOf(match.clientID);
        case 4: return GbkToUtf8(DirectionText(match.buyOrSell));
        case 5: return GbkToUtf8(OffsetFlagText(match.offsetFlag));
        case 6: return FormatWhole(match.price);
        case kVolumeColumn: return FormatInteger(match.volume);
        case 8: return GbkToUtf8(PledgeFlagText(match.pledgeFlag));
        case kProfitColumn: return FormatWhole(match.offsetProfit);
        case 10: return TextOf(match.matchDate);
        case 11: return TextOf(match.matchTime);
        case 12: {
            const TYqOrder* order = m_orderOfRow[static_cast<std::size_t>(row)];
            return order == nullptr ? std::string() : TextOf(order->applyTime);
        }
        case 13: return TextOf(match.traderID);
        case 14: return TextOf(match.localOrderNo);
        default: return std::string();
    }
}

std::string CPageMatch::SubtotalCellText(int column) const {
    switch (column) {
        case 0: return "小计";
        case kVolumeColumn: return std::to_string(m_totalVolume);
        case kProfitColumn: return FormatWhole(m_totalProfit);
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
