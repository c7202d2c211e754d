// CClientPages: the logic of every page, made before the login dialog opens and registered with
// the API object as receivers of exchange events. The lower pane's tabs are 行情, 报单, 未成交单,
// 成交单, 订货量, 资金 and 电子货单, in this order; the pre-order page gets a tab "预埋单" after them
// only when the advanced controls are on, and receives its events either way. Above them stands
// the order entry page with its indenture selection and its batch panel. The pages are linked here: the order entry
// page reads the quotation page's quotations and parks pre-orders on the pre-order page; the
// position and quotation pages prefill the order entry page; the match page reads the orders.
//
// Thread contract: user interface thread only.
// Ownership: owns the pages; unregisters them when it goes (before any page is destroyed).
#pragma once

#include "client/pages/PageCapital.h"
#include "client/pages/PageElctIndenture.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/pages/PageMatch.h"
#include "client/pages/PageOrder.h"
#include "client/pages/PageOrderList.h"
#include "client/pages/PageOrderMultiple.h"
#include "client/pages/PagePosition.h"
#include "client/pages/PagePreOrder.h"
#include "client/pages/PageQuotation.h"
#include "client/pages/PageUnmatchedOrder.h"
#include "client/shell/ClientServices.h"

namespace kvt {

class CPageTabCtrl;

class CClientPages {
public:
    // advanced: the pre-order page gets its tab, and the order form its 预埋 button.
    CClientPages(const CClientServices& services, CPageTabCtrl& tabs, bool advanced = false);
    ~CClientPages();
    CClientPages(const CClientPages&) = delete;
    CClientPages& operator=(const CClientPages&) = delete;

    CPageQuotation& Quotations() { return m_quotations; }
    CPageOrderList& Orders() { return m_orders; }
    CPageUnmatchedOrder& UnmatchedOrders() { return m_unmatched; }
    CPageMatch& Matches() { return m_matches; }
    CPagePosition& Positions() { return m_positions; }
    CPageCapital& Capital() { return m_capital; }
    CPageElctIndenture& ElctIndentures() { return m_indentures; }
    CPagePreOrder& PreOrders() { return m_preOrders; }
    CPageIndentureSelect& IndentureSelect() { return m_indentureSelect; }
    CPageOrder& OrderEntry() { return m_orderEntry; }
    CPageOrderMultiple& BatchPanel() { return m_batchPanel; }

private:
    CClientApi& m_api;
    CPageQuotation m_quotations;
    CPageOrderList m_orders;  // before the pages that point into its copies
    CPageUnmatchedOrder m_unmatched;
    CPageMatch m_matches;
    CPagePosition m_positions;
    CPageCapital m_capital;
    CPageElctIndenture m_indentures;
    CPagePreOrder m_preOrders;
    CPageIndentureSelect m_indentureSelect;
    CPageOrder m_orderEntry;
    CPageOrderMultiple m_batchPanel;
};

}  // namespace kvt
