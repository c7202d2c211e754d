// CClientPages: creation order, links, tab titles and registration of the pages.
#include "client/pages/ClientPages.h"

#include "client/shell/ClientApi.h"
#include "client/shell/PageTabCtrl.h"

namespace kvt {

using enum EWindow;

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
    m_api.Register(QuotationPage, &m_quotations);
    m_api.Register(OrderListPage, &m_orders);
    m_api.Register(MatchPage, &m_matches);
    m_api.Register(PositionPage, &m_positions);
    m_api.Register(CapitalPage, &m_capital);
    m_api.Register(ElctIndenturePage, &m_indentures);
    m_api.Register(UnmatchedOrderPage, &m_unmatched);
    m_api.Register(PreOrderPage, &m_preOrders);
    m_api.Register(TabControl, &tabs);
    m_api.Register(OrderEntryPage, &m_orderEntry);
    m_api.Register(IndentureSelectPage, &m_indentureSelect);
}

CClientPages::~CClientPages() {
    for (EWindow window : {QuotationPage, OrderListPage, MatchPage, PositionPage, CapitalPage, ElctIndenturePage,
                           UnmatchedOrderPage, PreOrderPage, TabControl, OrderEntryPage, IndentureSelectPage}) {
        m_api.Register(window, nullptr);
    }
}

}  // namespace kvt
