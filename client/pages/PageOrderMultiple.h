// CPageOrderMultiple: the batch panel of the order entry page. It turns the form's order into a
// ladder of n orders of the same instrument, trading code, amount and order kind, the first at the
// typed price and each next one a price step further (the step may be negative), and either sends
// the ladder (下单, at most kMaxBatchOrders per command, one order every kBatchOrderInterval) or
// parks it as n pre-orders (预埋, no limit, all at once). Batch orders are always guaranteed by a
// deposit, whatever the form's guarantee radios say.
//
// Local order numbers: the k-th order of a batch carries base + k, where base is the larger of the
// acknowledged and the sent number (CLocalOrderNumbers::ReserveBatch), so that a batch given while an
// order is unanswered does not reuse the number the exchange already has; nor does it reuse a
// number this panel gave out before (a batch still queued, or one whose later orders are still
// unanswered when a refused answer has rolled the sent number back). The batch does not wait for
// answers: it is not bound by the page's one-unanswered-order rule.
//
// The panel's own boxes (price step, number of orders) are read through COrderMultipleView; the
// rest of the order comes from the page's form.
//
// Thread contract: user interface thread only. Ownership: the page, the services and the pre-order
// sink (which may be null) outlive the panel; the view belongs to the widget, which attaches and
// detaches itself. Batch orders not yet sent go with the panel.
#pragma once

#include <chrono>
#include <cstdint>
#include <string>

#include "client/pages/OrderTicket.h"
#include "client/shell/ClientServices.h"
#include "client/shell/LocalOrderNumbers.h"
#include "client/shell/PacedSequence.h"

namespace kvt {

class CPageOrder;
class CPreOrderSink;

// The panel's controls, in tab order.
enum class EBatchControl { PriceStep, OrderCount, PreOrder, Place, Other };

// The batch panel as its logic sees it; texts are UTF-8.
class COrderMultipleView {
public:
    virtual ~COrderMultipleView() = default;
    virtual std::string PriceStepText() const = 0;
    virtual void SetPriceStepText(const std::string& text) = 0;
    virtual std::string OrderCountText() const = 0;
    virtual void SetOrderCountText(const std::string& text) = 0;
    virtual void Focus(EBatchControl control) = 0;
    virtual void FocusNextControl() = 0;
};

class CPageOrderMultiple {
public:
    static constexpr int kMaxBatchOrders = kMaxOrdersPerCommand;
    static constexpr std::chrono::milliseconds kBatchOrderInterval{100};

    CPageOrderMultiple(const CClientServices& services, CPageOrder& page, CPreOrderSink* preOrders);
    CPageOrderMultiple(const CPageOrderMultiple&) = delete;
    CPageOrderMultiple& operator=(const CPageOrderMultiple&) = delete;

    // A newly attached view shows 0 in both boxes. Null detaches.
    void Attach(COrderMultipleView* view);

    void OnPlaceOrders();  // 下单
    void OnPreOrders();    // 预埋
    // The Enter key: on 下单 or 预埋 it runs that command, elsewhere it moves to the next control.
    void OnEnter(EBatchControl at);

    // A batch order is still being sent.
    bool IsSending() const { return m_sequence.IsRunning(); }

private:
    // The form's order with a deposit guarantee; the checks shared by both commands are applied.
    // Fails (false) with the status text and the focus move of the first refusal.
    bool BuildCheckedOrder(TYqOrder& order);
    void Refuse(std::string_view text, EBatchControl focus);
    // The first number of a new batch is this + 1.
    void SendOrders(const TYqOrder& first, double priceStep, int count);

    CClientServices m_services;
    CPageOrder& m_page;
    CPreOrderSink* m_preOrders;
    CLocalOrderNumbers m_numbers;
    CPacedSequence m_sequence;
    COrderMultipleView* m_view = nullptr;
};

}  // namespace kvt
