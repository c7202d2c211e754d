// CPageIndentureSelect: listing by mode, the ticks and amounts, and the confirmation.
#include "client/pages/PageIndentureSelect.h"

#include "client/shell/ClientApi.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/Prompter.h"
#include "client/shell/RecordKeys.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr CListColumn kColumns[] = {
    {"选择电子货单", 100}, {"电子货单号", 80}, {"可用数量", 80},   {"新订冻结数量", 100}, {"占用数量", 80},
    {"转让冻结数量", 100}, {"交易代码", 80},   {"种类代码", 120},  {"交货地代码", 100},   {"仓库代码", 80},
    {"有效期", 60},        {"原始仓单号", 120}, {"注册数量", 80},  {"注销数量", 80},      {"交收数量", 80},
};

constexpr std::string_view kChooseIndentureText = "请选择电子货单！";
constexpr std::string_view kMessageCaption = "消息！";

}  // namespace

CPageIndentureSelect::CPageIndentureSelect(const CClientServices& services)
    : m_services(services), m_records(sizeof(TElctIndenture), {&CompareElctIndentureKey}) {}

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

void CPageIndentureSelect::OnMessage(unsigned message, WParam wParam, LParam) {
    if (message != WM_QRY_RESULT) return;
    const auto* indenture = MessageRecord<TElctIndenture>(wParam);
    if (indenture == nullptr || indenture->canUseInYq == '0' || FreezableAmount(*indenture) < 1) return;
    const int row = RowCount();
    BeginInsert(row, 1);
    m_rows.push_back({static_cast<const TElctIndenture*>(m_records.Insert(indenture)), false, std::string()});
    EndInsert();
}

std::string CPageIndentureSelect::CellText(int row, int column) const {
    const CRow& line = m_rows[static_cast<std::size_t>(row)];
    const TElctIndenture& r = *line.record;
    switch (column) {
        case 0: return line.amount;
        case 1: return quorex::TextOf(r.indentNo);
        case 2: return FormatInteger(r.avaAmount);
        case 3: return FormatInteger(r.frznYqOpen);
        case 4: return FormatInteger(r.ocuAmountYq);
        case 5: return FormatInteger(r.frznYqOffset);
        case 6: return quorex::TextOf(r.clientID);
        case 7: return quorex::TextOf(r.cateID);
        case 8: return quorex::TextOf(r.regionCode);
        case 9: return FormatInteger(r.warehouseID);
        case 10: return quorex::TextOf(r.expDate);
        case 11: return quorex::TextOf(r.originalNo);
        case 12: return FormatInteger(r.lginAmount);
        case 13: return FormatInteger(r.lgoutAmount);
        case 14: return FormatInteger(r.deliAmount);
        default: return std::string();
    }
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
    m_services.bridge.Post(m_services.api.Window(EWindow::OrderEntryPage), WM_INDENTURE_SELECTED, 0, 0);
    if (m_view != nullptr) m_view->Close();
}

void CPageIndentureSelect::OnCancel() {
    if (m_view != nullptr) m_view->Close();
}

}  // namespace kvt
