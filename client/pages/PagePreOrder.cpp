// CPagePreOrder: the rows, adding, the exchange's answers and the file.
#include "client/pages/PagePreOrder.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <system_error>

#include "client/pages/OrderCells.h"
#include "client/shell/ClientApi.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/ResponseCode.h"
#include "client/shell/StatusLine.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

using enum EOrderField;

// A pre-order's number is in orderNo, its state (预埋, 发送失败) in status.
constexpr CFieldColumn<EOrderField> kFields[] = {
    {"", 24, Tick, EAlign::Left}, {"预埋单号", 60, OrderNo}, {"商品代码", 80, Instrument}, {"买卖", 40, Direction},
    {"新订转让", 60, Offset},     {"价格", 40, Price},       {"数量", 40, Amount},         {"状态", 60, Status},
    {"交易代码", 60, Client},     {"履约保证", 60, Pledge},
};
constexpr auto kColumns = PlainColumns(kFields);

std::string PreOrderNumber(int counter) {
    char text[16];
    std::snprintf(text, sizeof text, "%.8d", counter);
    return text;
}

}  // namespace

CPagePreOrder::CPagePreOrder(const CClientServices& services, std::string directory)
    : m_services(services), m_directory(std::move(directory)), m_numbers(services.api.LoginState()),
      m_commands(services.timers) {}

CPagePreOrder::~CPagePreOrder() = default;

std::span<const CListColumn> CPagePreOrder::Columns() const { return kColumns; }

std::string CPagePreOrder::CellText(int row, int column) const {
    return OrderFieldText(m_services.api, Order(row), kFields[static_cast<std::size_t>(column)].field);
}

void CPagePreOrder::OnCheckClicked(int row, bool checked) {
    m_ticks.Set(row, checked);
    ShowCheckedCount();
}

void CPagePreOrder::AddPreOrder(const TYqOrder& order, std::vector<TYqFrznElctIndenture> indentures,
                                bool bringIntoView) {
    auto added = std::make_shared<CRow>();
    added->parked.order = order;
    if (added->parked.order.status == '\0') added->parked.order.status = kParked;
    added->parked.indentures = std::move(indentures);
    EndIndentureList(added->parked.indentures);
    quorex::SetText(added->parked.order.orderNo, PreOrderNumber(++m_counter));

    const int row = RowCount();
    BeginInsert(row, 1);
    m_rows.push_back(std::move(added));
    m_ticks.Insert(row);
    EndInsert();
    m_services.status.Show("预埋报单成功!");
    if (bringIntoView) {
        m_services.bridge.Post(m_services.api.Windows().Window(EShellWindow::TabControl), WM_SELECT_PAGE,
                               MessageWParam<WM_SELECT_PAGE>(this), 0);
        ShowRow(row);
    }
}

int CPagePreOrder::IndexOf(const CRow* row) const {
    const auto found = std::find_if(m_rows.begin(), m_rows.end(), [row](const RowPtr& r) { return r.get() == row; });
    return found == m_rows.end() ? -1 : static_cast<int>(found - m_rows.begin());
}

void CPagePreOrder::onRecvRspYqOrder(const TYqOrder* answer, const TTRspMsg& rsp) {
    if (answer == nullptr) return;
    CRow* row = FindAnsweredRow(*answer);
    if (row == nullptr) return;
    StopAwaiting(*row);
    if (IsSuccess(&rsp)) RemoveRow(IndexOf(row));
}

CPagePreOrder::CRow* CPagePreOrder::FindAnsweredRow(const TYqOrder& answer) const {
    const std::string_view localOrderNo = quorex::FieldText(answer.localOrderNo);
    if (!localOrderNo.empty()) {
        const auto found = m_awaiting.find(std::string(localOrderNo));
        return found == m_awaiting.end() ? nullptr : found->second;
    }
    // An answer without its local order number: the pre-order number it was sent with, if echoed.
    const std::string_view orderNo = quorex::FieldText(answer.orderNo);
    if (orderNo.empty()) return nullptr;
    for (const auto& [number, row] : m_awaiting) {
        if (quorex::FieldText(row->parked.order.orderNo) == orderNo) return row;
    }
    return nullptr;
}

void CPagePreOrder::StopAwaiting(CRow& row) {
    if (!row.awaitingAnswer) return;
    row.awaitingAnswer = false;
    const auto slot = m_awaiting.find(std::string(quorex::FieldText(row.parked.order.localOrderNo)));
    if (slot != m_awaiting.end() && slot->second == &row) m_awaiting.erase(slot);
}

void CPagePreOrder::RemoveRow(int index) {
    StopAwaiting(*m_rows[static_cast<std::size_t>(index)]);
    BeginRemove(index, 1);
    m_rows.erase(m_rows.begin() + index);
    m_ticks.Erase(index);
    EndRemove();
}

void CPagePreOrder::ShowCheckedCount() {
    char text[64];
    std::snprintf(text, sizeof text, "选中了%d笔预埋单", m_ticks.CheckedCount());
    m_services.status.Show(text);
}

std::string CPagePreOrder::FilePath() const {
    const char* traderID = m_services.api.LoginState().Trader().traderID;
    if (!m_directory.empty()) return PreOrderFilePath(m_directory, traderID);
    std::error_code error;
    const std::filesystem::path current = std::filesystem::current_path(error);
    return PreOrderFilePath(error ? std::string_view(".") : std::string_view(current.native()), traderID);
}

void CPagePreOrder::Load() {
    if (m_loaded) return;
    m_loaded = true;
    const std::optional<std::string> image = ReadPreOrderFile(FilePath());
    if (!image) return;
    for (CParkedOrder& parked : DecodePreOrderFile(*image, m_services.requests.TradeDate())) {
        AddPreOrder(parked.order, std::move(parked.indentures), false);
    }
}

bool CPagePreOrder::Save() {
    if (!m_loaded) return false;
    std::vector<const CParkedOrder*> orders;
    orders.reserve(m_rows.size());
    for (const RowPtr& row : m_rows) orders.push_back(&row->parked);
    return ReplacePreOrderFile(FilePath(), EncodePreOrderFile(m_services.requests.TradeDate(), orders));
}

}  // namespace kvt
