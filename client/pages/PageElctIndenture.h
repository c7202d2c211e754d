// CPageElctIndenture: the 电子货单 page. 刷新 (WM_PAGE_REFRESH) empties the page and queries the
// trader's electronic indentures; every answer that carries a record (whatever its code) is kept
// and listed, one row each in arrival order. Nothing loads the page before its first refresh.
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

class CPageElctIndenture : public CMessageTarget, public CTraderEvents, public CListRows {
public:
    CPageElctIndenture(CClientApi& api, CExchangeRequests& requests);

    int RowCount() const override { return static_cast<int>(m_records.Size()); }
    std::span<const CListColumn> Columns() const override;
    std::string CellText(int row, int column) const override;

    void onRecvRspQryElctIndenture(const TElctIndenture* indenture, const TTRspMsg& rsp) override;
    // WM_PAGE_REFRESH.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;

    const TElctIndenture& Record(int row) const {
        return m_records.At(static_cast<std::size_t>(row));
    }

private:
    void Refresh();

    CClientApi& m_api;
    CExchangeRequests& m_requests;
    CTypedRecordTable<TElctIndenture> m_records;
};

}  // namespace kvt
