// The 报单 and 未成交单 pages as the program wires them: both registered with the API object, a
// tab control that holds them, one instrument known, and journals of what each page told its
// model. Announce delivers an order return as the bridge does (a synchronous call) and then runs
// the posted messages, as the event loop would right after.
#pragma once

#include "client/ClientTestSupport.h"
#include "TradeTestRecords.h"
#include "client/pages/PageOrderList.h"
#include "client/pages/PageUnmatchedOrder.h"
#include "client/shell/PageTabCtrl.h"

namespace kvt::test {

// A page that ignores every message (the first tab).
class CEmptyTarget : public CMessageTarget {
public:
    void OnMessage(unsigned, WParam, LParam) override {}
};

class COrderPages {
public:
    COrderPages() {
        harness.LogIn();
        harness.api.SetInstrumentTable(&instruments.table);
        tabs.AddPage(&quotations, "行情");
        tabs.AddPage(&orders, "报单");
        tabs.AddPage(&unmatched, "未成交单");
        harness.Register(EPageWindow::OrderListPage, &orders);
        harness.Register(EPageWindow::UnmatchedOrderPage, &unmatched);
        harness.Register(EShellWindow::TabControl, &tabs);
        orders.SetObserver(&orderRows);
        unmatched.SetObserver(&unmatchedRows);
    }
    ~COrderPages() {
        harness.Unregister(EPageWindow::OrderListPage);
        harness.Unregister(EPageWindow::UnmatchedOrderPage);
        harness.Unregister(EShellWindow::TabControl);
        harness.api.SetInstrumentTable(nullptr);
    }

    void Announce(const TYqOrder& order, const TTRspMsg& rsp = Response()) {
        orders.onRecvRtnYqOrder(&order, rsp);
        harness.bridge.Deliver();
    }
    // Announces an order and ticks its row on the page.
    void AnnounceTicked(COrderListBase& page, const TYqOrder& order) {
        Announce(order);
        page.OnCheckClicked(page.RowCount() - 1, true);
    }
    std::vector<std::string> CancelledOrderNos() const {
        std::vector<std::string> orderNos;
        for (const TYqOrderCancel& cancel : harness.requests.cancels) orderNos.push_back(quorex::TextOf(cancel.orderNo));
        return orderNos;
    }

    CClientHarness harness;
    CTestInstruments instruments;
    CPageTabCtrl tabs{harness.bridge};
    CEmptyTarget quotations;
    CPageOrderList orders{harness.Services()};
    CPageUnmatchedOrder unmatched{harness.Services(), orders.SharedCanceller()};
    CRowJournal orderRows;
    CRowJournal unmatchedRows;
};

}  // namespace kvt::test
