// CClientPages: creation order, links, tab titles and registration of the pages.
#include "client/pages/ClientPages.h"

#include "client/pages/PageWindows.h"
#include "client/shell/ClientApi.h"
#include "client/shell/PageTabCtrl.h"

namespace kvt {

using enum EPageWindow;

CClientPages::CClientPages(const CClientServices& services, CPageTabCtrl& tabs, bool advanced)
    : m_api(services.api), m_quotations(services.api), m_orders(services), m_unmatched(services, m_orders.SharedCanceller()),
      m_matches(services.api, m_orders), m_positions(services.api, services.requests), m_capital(services.api, services.requests),
      m_indentures(services.api, services.requests), m_preOrders(services), m_indentureSelect(services),
      m_orderEntry(services, m_indentureSelect, &m_quotations, &m_preOrders),
      m_batchPanel(services, m_orderEntry, &m_preOrders) {
    m_quotations.SetOrderPrefill(&m_orderEntry);
    m_positions.SetOrderPrefill(&m_orderEntry);
    tabs.AddPage(&m_quotations, "行情");
    tabs.AddPage(&m_orders, "报单");
    tabs.AddPage(&m_unmatched, "未成交单");
    tabs.AddPage(&m_matches, "成交单");
    tabs.AddPage(&m_positions, "订货量");
    tabs.AddPage(&m_capital, "资金");
    tabs.AddPage(&m_indentures, "电子货单");
    if (advanced) {
        tabs.AddPage(&m_preOrders, "预埋单");
        m_orderEntry.SetPreOrderVisible(true);
    }
    CWindowRegistry& windows = m_api.Windows();
    windows.Register(IdOf(QuotationPage), &m_quotations, &m_quotations);
    windows.Register(IdOf(OrderListPage), &m_orders, &m_orders);
    windows.Register(IdOf(UnmatchedOrderPage), nullptr, &m_unmatched);
    windows.Register(IdOf(MatchPage), &m_matches, &m_matches);
    windows.Register(IdOf(PositionPage), &m_positions, &m_positions);
    windows.Register(IdOf(CapitalPage), &m_capital, &m_capital);
    windows.Register(IdOf(ElctIndenturePage), &m_indentures, &m_indentures);
    windows.Register(IdOf(PreOrderPage), &m_preOrders, &m_preOrders);
    windows.Register(IdOf(OrderEntryPage), &m_orderEntry, &m_orderEntry);
    windows.Register(IdOf(IndentureSelectPage), &m_indentureSelect, nullptr);
    windows.Register(EShellWindow::TabControl, nullptr, &tabs);
}

CClientPages::~CClientPages() {
    for (TWindowId id = kFirstPageWindow; id < IdOf(EPageWindow::kEnd); ++id) m_api.Windows().Register(id, nullptr);
    m_api.Windows().Register(EShellWindow::TabControl, nullptr);
}

}  // namespace kvt
