// CPageCapital: the 资金 page. It keeps every member capital record that answers a capital query
// (one per memberID and accountType, overwritten in place) and shows the record received last in
// 24 fixed rows of two columns; 刷新 (WM_PAGE_REFRESH) queries the member's own account again.
// Answers that are refused or carry no record are ignored.
//
// Thread contract: user interface thread only.
#pragma once

#include "client/shell/ListRows.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"
#include "client/shell/TypedRecordTable.h"
#include "quorex/Records.h"

namespace kvt {

class CClientApi;
class CExchangeRequests;

class CPageCapital : public CMessageTarget, public CTraderEvents, public CListRows {
public:
    static constexpr int kRowCount = 24;

    CPageCapital(CClientApi& api, CExchangeRequests& requests);

    int RowCount() const override { return kRowCount; }
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;

    void onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg& rsp) override;
    // WM_PAGE_REFRESH.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;

    const CTypedRecordTable<TMemberCapital>& Records() const { return m_records; }

private:
    CClientApi& m_api;
    CExchangeRequests& m_requests;
    CTypedRecordTable<TMemberCapital> m_records;
    const TMemberCapital* m_shown = nullptr;
};

}  // namespace kvt
