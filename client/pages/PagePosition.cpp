// CPagePosition: client rows grouped by instrument, subtotals from the member positions, the total
// row, the refresh queries and the transfer prefills.
#include "client/pages/PagePosition.h"

#include <algorithm>

#include "client/pages/PageLinks.h"
#include "client/shell/ClientApi.h"
#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/RecordKeys.h"
#include "client/shell/ResponseCode.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

// The fields of the page's rows: a client's position, an instrument's subtotal (the member's own
// position) and the total of the member's positions.
enum class EPositionField { Instrument, Client, LongAmount, LongAverage, ShortAmount, ShortAverage, IndentureShort, Profit };
using enum EPositionField;

constexpr CFieldColumn<EPositionField> kFields[] = {
    {"商品代码", 80, Instrument, EAlign::Left}, {"交易代码", 80, Client},         {"买订货量", 60, LongAmount},
    {"买均价", 60, LongAverage},                {"卖订货量", 60, ShortAmount},    {"卖均价", 60, ShortAverage},
    {"电子货单卖订货量", 120, IndentureShort},  {"账面盈亏", 60, Profit},
};
constexpr auto kColumns = PlainColumns(kFields);

constexpr std::string_view kClientRowMenu[] = {"转让买入", "转让卖出"};
constexpr char kClientRowMenuDirections[] = {'b', 's'};

int CompareClientPositionKey(const void* a, const void* b) {
    const auto& left = *static_cast<const TYqClientPosi*>(a);
    const auto& right = *static_cast<const TYqClientPosi*>(b);
    const int order = CompareText(left.clientID, right.clientID);
    return order != 0 ? order : CompareText(left.instID, right.instID);
}

int CompareMemberPositionKey(const void* a, const void* b) {
    const auto& left = *static_cast<const TYqMemberPosi*>(a);
    const auto& right = *static_cast<const TYqMemberPosi*>(b);
    const int order = CompareText(left.memberID, right.memberID);
    return order != 0 ? order : CompareText(left.instID, right.instID);
}

// A client position in which nothing is held or frozen is not listed.
bool HoldsNothing(const TYqClientPosi& p) {
    return p.longPosi == 0 && p.shortPosi == 0 && p.lastLong == 0 && p.lastShort == 0 &&
           p.lastManualLongFrozen == 0 && p.lastManualShortFrozen == 0 && p.longLimitFrozen == 0 &&
           p.shortLimitFrozen == 0 && p.offsetLongFrozen == 0 && p.offsetShortFrozen == 0 &&
           p.manualLongFrozen == 0 && p.manualShortFrozen == 0;
}

// The member's own holding in an instrument, as its subtotal shows it.
int MemberLong(const TYqMemberPosi& p) { return p.longPosi + p.manualLongFrozen; }
int MemberShort(const TYqMemberPosi& p) { return p.shortPosi + p.manualShortFrozen; }

std::string AveragePrice(double turnOver, int amount) {
    return FormatTwoDecimals(amount != 0 ? turnOver / amount : 0.0);
}

std::string SubtotalText(const TYqMemberPosi& p, EPositionField field) {
    switch (field) {
        case Client: return "小计";
        case LongAmount: return FormatInteger(MemberLong(p));
        case LongAverage: return AveragePrice(p.longTurnOver, MemberLong(p));
        case ShortAmount: return FormatInteger(MemberShort(p));
        case ShortAverage: return AveragePrice(p.shortTurnOver, MemberShort(p));
        case Profit: return FormatWhole(p.dummyProfit);
        default: return std::string();
    }
}

std::string ClientText(const CClientApi& api, const TYqClientPosi& client, EPositionField field) {
    switch (field) {
        case Instrument: return quorex::GbkToUtf8(api.YqInstIDOf(client.instID));
        case Client: return quorex::TextOf(client.clientID);
        case LongAmount: return FormatInteger(client.longPosi);
        case ShortAmount: return FormatInteger(client.shortPosi);
        case IndentureShort: return FormatInteger(client.indentPosi);
        default: return std::string();
    }
}

}  // namespace

CPagePosition::CPagePosition(CClientApi& api, CExchangeRequests& requests, COrderPrefill* prefill)
    : m_api(api), m_requests(requests), m_prefill(prefill),
      m_clientPositions({&CompareClientPositionKey}),
      m_memberPositions({&CompareMemberPositionKey}) {}

std::span<const CListColumn> CPagePosition::Columns() const { return kColumns; }

std::string CPagePosition::CellText(int row, int column) const {
    const EPositionField field = kFields[static_cast<std::size_t>(column)].field;
    const CRowPlace place = PlaceOf(row);
    if (place.instrument == nullptr) {
        if (field == Client) return "合计";
        if (!m_totals) return std::string();
        if (field == LongAmount) return FormatInteger(m_totals->longPosi);
        if (field == ShortAmount) return FormatInteger(m_totals->shortPosi);
        if (field == Profit) return FormatWhole(m_totals->dummyProfit);
        return std::string();
    }
    if (place.offset == static_cast<int>(place.instrument->clients.size())) {
        return SubtotalText(*place.instrument->subtotal, field);
    }
    return ClientText(m_api, *place.instrument->clients[static_cast<std::size_t>(place.offset)], field);
}

void CPagePosition::OnMessage(unsigned message, WParam, LParam) {
    if (message == WM_PAGE_REFRESH) Refresh();
}

const TYqClientPosi* CPagePosition::ClientPosition(int row) const {
    if (row < 0 || row >= m_rowCount) return nullptr;
    const CRowPlace place = PlaceOf(row);
    if (place.instrument == nullptr || place.offset >= static_cast<int>(place.instrument->clients.size())) {
        return nullptr;
    }
    return place.instrument->clients[static_cast<std::size_t>(place.offset)];
}

std::span<const std::string_view> CPagePosition::MenuItems(int row) const {
    if (ClientPosition(row) == nullptr) return {};
    return kClientRowMenu;
}

void CPagePosition::OnMenuItem(int row, int item) {
    const TYqClientPosi* position = ClientPosition(row);
    if (position == nullptr || m_prefill == nullptr || item < 0 || item >= static_cast<int>(std::size(kClientRowMenu))) {
        return;
    }
    m_prefill->PrefillFromPosition(*position, kClientRowMenuDirections[item]);
}

void CPagePosition::Refresh() {
    BeginReset();
    m_memberPositions.Clear();
    m_clientPositions.Clear();
    m_instruments.clear();
    m_instrumentByID.clear();
    m_rowCount = 0;
    m_totalsPending = false;
    m_totals.reset();
    EndReset();

    const TTrader& trader = m_api.LoginState().Trader();
    TReqQryMemberPosi memberQuery{};
    quorex::SetText(memberQuery.memberID, quorex::FieldText(trader.memberID));
    quorex::SetText(memberQuery.traderID, quorex::FieldText(trader.traderID));
    m_requests.ReqQryYqMemberPosi(memberQuery);
    TReqQryClientPosi clientQuery{};
    quorex::SetText(clientQuery.memberID, quorex::FieldText(trader.memberID));
    quorex::SetText(clientQuery.traderID, quorex::FieldText(trader.traderID));
    m_requests.ReqQryYqClientPosi(clientQuery);
}

void CPagePosition::onRecvRspQryYqMemberPosi(const TYqMemberPosi* position, const TTRspMsg& rsp) {
    if (position == nullptr || !IsSuccess(&rsp)) return;
    if (position->accountType != SelfOperatedAccountType()) return;
    const auto [stored, inserted] = m_memberPositions.Upsert(*position);
    if (!inserted) {
        // A subtotal row shows its stored member position, which has just been overwritten.
        const CInstrumentRows* instrument = InstrumentRowsOf(quorex::FieldText(position->instID));
        if (instrument != nullptr && instrument->subtotal == stored) {
            RowsChanged(instrument->SubtotalRow(), instrument->SubtotalRow());
        }
    }
    EnsureTotalRow();
    m_totalsPending = true;
}

void CPagePosition::onRecvRspQryYqClientPosi(const TYqClientPosi* position, const TTRspMsg& rsp) {
    if (position == nullptr || !IsSuccess(&rsp) || HoldsNothing(*position)) return;
    const auto [record, inserted] = m_clientPositions.Upsert(*position);
    const TYqClientPosi& stored = *record;
    if (inserted) {
        PlaceNewClientRow(stored);
    } else {
        const CInstrumentRows& instrument = *InstrumentRowsOf(quorex::FieldText(stored.instID));
        const auto at = std::find(instrument.clients.begin(), instrument.clients.end(), &stored);
        const int row = instrument.firstRow + static_cast<int>(at - instrument.clients.begin());
        RowsChanged(row, row);
    }
    WritePendingTotals();
}

void CPagePosition::PlaceNewClientRow(const TYqClientPosi& stored) {
    // The totals must never land in a client row, whichever answer comes first.
    EnsureTotalRow();
    if (CInstrumentRows* instrument = InstrumentRowsOf(quorex::FieldText(stored.instID))) {
        // At the place of the instrument's last client row, which moves down by one.
        const int row = instrument->SubtotalRow() - 1;
        BeginInsert(row, 1);
        instrument->clients.insert(instrument->clients.end() - 1, &stored);
        const auto index = static_cast<std::size_t>(instrument - m_instruments.data());
        for (std::size_t later = index + 1; later < m_instruments.size(); ++later) ++m_instruments[later].firstRow;
        ++m_rowCount;
        EndInsert();
        return;
    }
    TYqMemberPosi probe{};
    quorex::SetText(probe.memberID, quorex::FieldText(stored.memberID));
    quorex::SetText(probe.instID, quorex::FieldText(stored.instID));
    const TYqMemberPosi* member = m_memberPositions.Find(probe);
    CInstrumentRows rows{TotalRow(), {&stored}, member};
    BeginInsert(rows.firstRow, rows.RowCount());
    m_rowCount += rows.RowCount();
    m_instrumentByID.emplace(std::string(quorex::FieldText(stored.instID)), m_instruments.size());
    m_instruments.push_back(std::move(rows));
    EndInsert();
}

void CPagePosition::EnsureTotalRow() {
    if (m_rowCount > 0) return;
    BeginInsert(0, 1);
    m_rowCount = 1;
    EndInsert();
}

void CPagePosition::WritePendingTotals() {
    if (!m_totalsPending) return;
    CTotals totals{0, 0, 0.0};
    for (std::size_t i = 0; i < m_memberPositions.Size(); ++i) {
        const TYqMemberPosi& member = m_memberPositions.At(i);
        totals.longPosi += MemberLong(member);
        totals.shortPosi += MemberShort(member);
        totals.dummyProfit += member.dummyProfit;
    }
    m_totals = totals;
    m_totalsPending = false;
    RowsChanged(TotalRow(), TotalRow());
}

CPagePosition::CRowPlace CPagePosition::PlaceOf(int row) const {
    if (row == TotalRow()) return {nullptr, 0};
    const auto after = std::upper_bound(m_instruments.begin(), m_instruments.end(), row,
                                        [](int r, const CInstrumentRows& rows) { return r < rows.firstRow; });
    const CInstrumentRows& instrument = *(after - 1);
    return {&instrument, row - instrument.firstRow};
}

CPagePosition::CInstrumentRows* CPagePosition::InstrumentRowsOf(std::string_view instID) {
    const auto found = m_instrumentByID.find(instID);
    return found == m_instrumentByID.end() ? nullptr : &m_instruments[found->second];
}

}  // namespace kvt
