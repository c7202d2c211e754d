// CAccountPages: creation order, tab titles and registration of the lower pane's pages.
#include "client/pages/AccountPages.h"

#include "client/shell/ClientApi.h"
#include "client/shell/PageTabCtrl.h"

namespace kvt {

using enum EWindow;

CAccountPages::CAccountPages(const CClientServices& services, CPageTabCtrl& tabs)
    : m_api(services.api), m_capital(services.api, services.requests),
      m_indentures(services.api, services.requests) {
    tabs.AddPage(&m_quotations, "行情");
    tabs.AddPage(&m_orders, "报单");
    tabs.AddPage(&m_unmatched, "未成交单");
    tabs.AddPage(&m_matches, "成交单");
    tabs.AddPage(&m_positions, "订货量");
    tabs.AddPage(&m_capital, "资金");
    tabs.AddPage(&m_indentures, "电子货单");
    m_api.Register(QuotationPage, &m_quotations);
    m_api.Register(OrderListPage, &m_orders);
    m_api.Register(MatchPage, &m_matches);
    m_api.Register(PositionPage, &m_positions);
    m_api.Register(CapitalPage, &m_capital);
    m_api.Register(ElctIndenturePage, &m_indentures);
    m_api.Register(UnmatchedOrderPage, &m_unmatched);
    m_api.Register(PreOrderPage, &m_preOrders);
    m_api.Register(TabControl, &tabs);
}

CAccountPages::~CAccountPages() {
    for (EWindow window : {QuotationPage, OrderListPage, MatchPage, PositionPage, CapitalPage, ElctIndenturePage,
                           UnmatchedOrderPage, PreOrderPage, TabControl}) {
        m_api.Register(window, nullptr);
    }
}

}  // namespace kvt
