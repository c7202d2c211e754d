// CPageIndentureSelect: listing by mode, the ticks and amounts, and the confirmation.
#include "client/pages/PageIndentureSelect.h"

#include "client/pages/IndentureCells.h"
#include "client/pages/OrderTicket.h"
#include "client/pages/PageWindows.h"
#include "client/shell/ClientApi.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/Prompter.h"
#include "client/shell/RecordKeys.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

using enum EIndentureField;

// Column 0 holds the check box and the amount to freeze; the indenture's fields follow.
const std::vector<EIndentureField> kFields = {IndentNo,  Available,  FrozenOpen, Occupied,   FrozenOffset,
                                              Client,    Category,   Region,     Warehouse,  Expiry,
                                              OriginalNo, Registered, Deregistered, Delivered};
const std::vector<CListColumn> kColumns = [] {
    std::vector<CListColumn> columns = {{"选择电子货单", 100}};
    for (const CListColumn& column : IndentureColumns(kFields)) columns.push_back(column);
    return columns;
}();

constexpr std::string_view kChooseIndentureText = "请选择电子货单！";
constexpr std::string_view kMessageCaption = "消息！";

}  // namespace

CPageIndentureSelect::CPageIndentureSelect(const CClientServices& services)
    : m_services(services), m_records({&CompareElctIndentureKey}) {}

std::span<const CListColumn> CPageIndentureSelect::Columns() const { return kColumns; }

std::int64_t CPageIndentureSelect::FreezableAmount(const TElctIndenture& indenture) const {
    if (m_mode == kNewSellMode) return indenture.avaAmount;
    return std::int64_t{indenture.ocuAmountYq} - indenture.frznYqOffset;
}

std::int64_t CPageIndentureSelect::SelectedAmount() const {
    std::int64_t sum = 0;
    for (const TElctIndenture& indenture : m_selection) sum += indenture.avaAmount;
    return sum;
}

void CPageIndentureSelect::Open(char mode, const TReqQryInstElctIndent& query) {
    m_mode = mode;
    BeginReset();
    m_rows.clear();
    m_records.Clear();
    EndReset();
    m_services.requests.ReqQryYqInstElctIndent(query);
    if (m_view != nullptr) m_view->Show();
}

void CPageIndentureSelect::onRecvRspQryYqInstElctIndent(const TElctIndenture* indenture, const TTRspMsg&) {
    if (indenture == nullptr || indenture->canUseInYq == '0' || FreezableAmount(*indenture) < 1) return;
    const int row = RowCount();
    BeginInsert(row, 1);
    m_rows.push_back({m_records.Insert(*indenture), false, std::string()});
    EndInsert();
}

std::string CPageIndentureSelect::CellText(int row, int column) const {
    const CRow& line = m_rows[static_cast<std::size_t>(row)];
    if (column == 0) return line.amount;
    return IndentureCellText(*line.record, kFields[static_cast<std::size_t>(column - 1)]);
}

void CPageIndentureSelect::OnCheckClicked(int row, bool checked) {
    CRow& line = m_rows[static_cast<std::size_t>(row)];
    line.checked = checked;
    line.amount = checked ? std::to_string(FreezableAmount(*line.record)) : std::string();
    RowsChanged(row, row);
}

void CPageIndentureSelect::SetCellText(int row, int column, std::string_view utf8) {
    if (column != 0) return;
    m_rows[static_cast<std::size_t>(row)].amount = std::string(utf8);
    RowsChanged(row, row);
}

void CPageIndentureSelect::OnConfirm() {
    if (m_rows.empty()) {
        m_services.prompter.Inform(kChooseIndentureText, kMessageCaption);
        return;
    }
    m_selection.clear();
    for (const CRow& line : m_rows) {
        if (!line.checked || line.amount.empty()) continue;
        TElctIndenture chosen = *line.record;
        chosen.avaAmount = ParseInt(line.amount.c_str());
        m_selection.push_back(chosen);
    }
    if (m_selection.empty()) {
        m_services.prompter.Inform(kChooseIndentureText, kMessageCaption);
        return;
    }
    // One order carries at most this many; the dialog stays open for the trader to untick some.
    if (m_selection.size() > std::size_t{CTraderApi::kMaxYqOrderIndentures}) {
        m_selection.clear();
        m_services.prompter.Inform(kTooManyIndenturesText, kMessageCaption);
        return;
    }
    m_services.bridge.Post(m_services.api.Windows().Window(IdOf(EPageWindow::OrderEntryPage)), WM_INDENTURE_SELECTED, 0, 0);
    if (m_view != nullptr) m_view->Close();
}

void CPageIndentureSelect::OnCancel() {
    if (m_view != nullptr) m_view->Close();
}

}  // namespace kvt
