// CPageElctIndenture: reload on refresh, one row per indenture record.
#include "client/pages/PageElctIndenture.h"

#include "client/shell/ClientApi.h"
#include "client/shell/CodeTexts.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/RecordKeys.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr CListColumn kColumns[] = {
    {"电子货单号", 80},  {"可用数量", 80}, {"新订冻结数量", 100}, {"占用数量", 80},   {"转让冻结数量", 100},
    {"交易代码", 80},    {"席位代码", 80}, {"种类代码", 120},     {"交货地代码", 100}, {"仓库代码", 80},
    {"有效期", 60},      {"原始仓单号", 120}, {"注册数量", 80},   {"注销数量", 80},   {"交收数量", 80},
    {"是否可用", 80},
};

}  // namespace

CPageElctIndenture::CPageElctIndenture(CClientApi& api, CExchangeRequests& requests)
    : m_api(api), m_requests(requests), m_records(sizeof(TElctIndenture), {&CompareElctIndentureKey}) {}

std::span<const CListColumn> CPageElctIndenture::Columns() const { return kColumns; }

std::string CPageElctIndenture::CellText(int row, int column) const {
    const TElctIndenture& r = Record(row);
    switch (column) {
        case 0: return quorex::TextOf(r.indentNo);
        case 1: return FormatInteger(r.avaAmount);
        case 2: return FormatInteger(r.frznYqOpen);
        case 3: return FormatInteger(r.ocuAmountYq);
        case 4: return FormatInteger(r.frznYqOffset);
        case 5: return quorex::TextOf(r.clientID);
        case 6: return quorex::TextOf(r.memberID);
        case 7: return quorex::TextOf(r.cateID);
        case 8: return quorex::TextOf(r.regionCode);
        case 9: return FormatInteger(r.warehouseID);
        case 10: return quorex::TextOf(r.expDate);
        case 11: return quorex::TextOf(r.originalNo);
        case 12: return FormatInteger(r.lginAmount);
        case 13: return FormatInteger(r.lgoutAmount);
        case 14: return FormatInteger(r.deliAmount);
        case 15: return quorex::GbkToUtf8(YesNoText(r.canUseInYq));
        default: return std::string();
    }
}

void CPageElctIndenture::OnMessage(unsigned message, WParam wParam, LParam) {
    if (message == WM_PAGE_REFRESH) {
        Refresh();
    } else if (message == WM_QRY_RESULT) {
        const auto* indenture = MessageRecord<TElctIndenture>(wParam);
        if (indenture == nullptr) return;
        const int row = RowCount();
        BeginInsert(row, 1);
        m_records.Insert(indenture);
        EndInsert();
    }
}

void CPageElctIndenture::Refresh() {
    BeginReset();
    m_records.Clear();
    EndReset();
    TReqQryElctIndenture query{};
    const TTrader& trader = m_api.LoginState().Trader();
    quorex::SetText(query.memberID, quorex::FieldText(trader.memberID));
    quorex::SetText(query.traderID, quorex::FieldText(trader.traderID));
    m_requests.ReqQryElctIndenture(query);
}

}  // namespace kvt
