// CPageElctIndenture: reload on refresh, one row per indenture record.
#include "client/pages/PageElctIndenture.h"

#include "client/pages/IndentureCells.h"
#include "client/shell/ClientApi.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/RecordKeys.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

using enum EIndentureField;

const std::vector<EIndentureField> kFields = {IndentNo,  Available, FrozenOpen, Occupied,   FrozenOffset, Client,
                                              Member,    Category,  Region,     Warehouse,  Expiry,       OriginalNo,
                                              Registered, Deregistered, Delivered, UsableInYq};
const std::vector<CListColumn> kColumns = IndentureColumns(kFields);

}  // namespace

CPageElctIndenture::CPageElctIndenture(CClientApi& api, CExchangeRequests& requests)
    : m_api(api), m_requests(requests), m_records({&CompareElctIndentureKey}) {}

std::span<const CListColumn> CPageElctIndenture::Columns() const { return kColumns; }

std::string CPageElctIndenture::CellText(int row, int column) const {
    return IndentureCellText(Record(row), kFields[static_cast<std::size_t>(column)]);
}

void CPageElctIndenture::OnMessage(unsigned message, WParam, LParam) {
    if (message == WM_PAGE_REFRESH) Refresh();
}

void CPageElctIndenture::onRecvRspQryElctIndenture(const TElctIndenture* indenture, const TTRspMsg&) {
    if (indenture == nullptr) return;
    const int row = RowCount();
    BeginInsert(row, 1);
    m_records.Insert(*indenture);
    EndInsert();
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
