// CPageOrderMultiple: the checks, confirmations and ladders of the batch panel.
#include "client/pages/PageOrderMultiple.h"

#include <algorithm>
#include <vector>

#include "client/pages/OrderConfirmation.h"
#include "client/pages/PageLinks.h"
#include "client/pages/PageOrder.h"
#include "client/shell/ClientApi.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/StatusLine.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

constexpr char kDepositPledgeFlag = '1';

}  // namespace

CPageOrderMultiple::CPageOrderMultiple(const CClientServices& services, CPageOrder& page, CPreOrderSink* preOrders)
    : m_services(services), m_page(page), m_preOrders(preOrders), m_numbers(services.api.LoginState()),
      m_sequence(services.timers) {}

void CPageOrderMultiple::Attach(COrderMultipleView* view) {
    m_view = view;
    if (view == nullptr) return;
    view->SetPriceStepText("0");
    view->SetOrderCountText("0");
}

void CPageOrderMultiple::OnEnter(EBatchControl at) {
    if (at == EBatchControl::Place) {
        OnPlaceOrders();
    } else if (at == EBatchControl::PreOrder) {
        OnPreOrders();
    } else if (m_view != nullptr) {
        m_view->FocusNextControl();
    }
}

void CPageOrderMultiple::Refuse(std::string_view text, EBatchControl focus) {
    m_services.status.Show(text);
    m_view->Focus(focus);
}

bool CPageOrderMultiple::BuildCheckedOrder(TYqOrder& order) {
    order = m_page.BuildOrderRecord();
    order.pledgeFlag = kDepositPledgeFlag;
    const auto refusal = CheckOrderFields(order, kSelectInstrumentText);
    if (!refusal) return true;
    m_services.status.Show(refusal->text);
    m_page.Form().View().Focus(refusal->focus);
    return false;
}

void CPageOrderMultiple::OnPlaceOrders() {
    if (m_view == nullptr) return;
    TYqOrder order;
    if (!BuildCheckedOrder(order)) return;
    // Read before the box, as the trader confirmed them.
    const std::string stepText = m_view->PriceStepText();
    const std::string countText = m_view->OrderCountText();
    if (stepText.empty()) return Refuse("请输入价格幅度!", EBatchControl::PriceStep);
    if (countText.empty()) return Refuse("请输入委托数量!", EBatchControl::OrderCount);
    if (!ConfirmOrders(m_services, {"准备批量下单.....", "确定要批量下单？", "准备批量下单", "取消批量下单....."})) return;
    const int count = ParseInt(countText.c_str());
    if (count > kMaxBatchOrders) {
        m_services.status.Show(SendLimitText());
        return;
    }
    if (count < 1) {
        m_services.status.Show("报单数量不能小于1");
        return;
    }
    SendOrders(order, ParseInt(stepText.c_str()), count);
}

void CPageOrderMultiple::SendOrders(const TYqOrder& first, double priceStep, int count) {
    // Numbers and prices are fixed now; the steps only send what was decided.
    const std::int64_t base = m_numbers.ReserveBatch(count);
    std::vector<CPacedSequence::Step> steps;
    steps.reserve(static_cast<std::size_t>(count));
    TYqOrder order = first;
    for (int k = 1; k <= count; ++k) {
        quorex::SetText(order.localOrderNo, CLocalOrderNumbers::Format(base + k));
        steps.push_back([this, order] {
            const std::vector<TYqFrznElctIndenture> indentures = BuildIndentureList(order.pledgeFlag, {});
            // A refused call leaves the sent number; the next order of the ladder still goes.
            if (m_services.requests.ReqYqOrderEx(order, indentures.data()) == 0) {
                m_numbers.OnSent(quorex::TextOf(order.localOrderNo));
            }
        });
        order.price += priceStep;
    }
    m_sequence.Run(std::move(steps), kBatchOrderInterval);
}

void CPageOrderMultiple::OnPreOrders() {
    if (m_view == nullptr || m_preOrders == nullptr) return;
    TYqOrder order;
    if (!BuildCheckedOrder(order)) return;
    const std::string stepText = m_view->PriceStepText();
    const std::string countText = m_view->OrderCountText();
    if (stepText.empty()) return Refuse("请输入价格幅度!", EBatchControl::PriceStep);
    // Only a leading minus makes a number; "5-" would silently be read as 5.
    if (stepText.find('-', 1) != std::string::npos) return Refuse("请输入正确的价格幅度!", EBatchControl::PriceStep);
    if (countText.empty()) return Refuse("请输入委托数量!", EBatchControl::OrderCount);
    const int count = ParseInt(countText.c_str());
    if (count < 1) {
        m_services.status.Show("报单数量不能小于1");
        return;
    }
    if (!ConfirmOrders(m_services, {"准备批量预埋报单.....", "确定要批量预埋报单？", "准备批量预埋报单", "取消批量预埋报单....."})) return;
    const double priceStep = ParseInt(stepText.c_str());
    for (int k = 0; k < count; ++k) {
        m_preOrders->AddPreOrder(order, BuildIndentureList(order.pledgeFlag, {}), true);
        order.price += priceStep;
    }
    m_page.Form().View().SetAmountText(std::string());
}

}  // namespace kvt
