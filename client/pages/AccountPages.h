// CAccountPages: the pages of the lower pane, made before the login dialog opens and registered
// with the API object as receivers of exchange events: 行情, 报单, 未成交单, 成交单, 订货量, 资金 and
// 电子货单 get tabs in this order; the pre-order page gets none. It also registers the tab control.
//
// Thread contract: user interface thread only.
// Ownership: owns the pages; unregisters them when it goes.
#pragma once

#include <memory>

#include "client/pages/EmptyPage.h"
#include "client/pages/PageCapital.h"
#include "client/pages/PageElctIndenture.h"
#include "client/shell/ClientServices.h"

namespace kvt {

class CPageTabCtrl;

class CAccountPages {
public:
    CAccountPages(const CClientServices& services, CPageTabCtrl& tabs);
    ~CAccountPages();
    CAccountPages(const CAccountPages&) = delete;
    CAccountPages& operator=(const CAccountPages&) = delete;

    CEmptyPage& Quotations() { return m_quotations; }
    CEmptyPage& Orders() { return m_orders; }
    CEmptyPage& UnmatchedOrders() { return m_unmatched; }
    CEmptyPage& Matches() { return m_matches; }
    CEmptyPage& Positions() { return m_positions; }
    CPageCapital& Capital() { return m_capital; }
    CPageElctIndenture& ElctIndentures() { return m_indentures; }
    CEmptyPage& PreOrders() { return m_preOrders; }

private:
    CClientApi& m_api;
    CEmptyPage m_quotations;
    CEmptyPage m_orders;
    CEmptyPage m_unmatched;
    CEmptyPage m_matches;
    CEmptyPage m_positions;
    CPageCapital m_capital;
    CPageElctIndenture m_indentures;
    CEmptyPage m_preOrders;
};

}  // namespace kvt
