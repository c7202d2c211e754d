// CPageOrder: the order entry page's messages, commands and prefills.
#include "client/pages/PageOrder.h"

#include <cstdint>
#include <utility>

#include "client/pages/OrderConfirmation.h"
#include "client/pages/OrderPanels.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/pages/PageWindows.h"
#include "client/shell/CapitalQuery.h"
#include "client/shell/ClientApi.h"
#include "client/shell/DisplayFormats.h"
#include "client/shell/ExchangeRequests.h"
#include "client/shell/ResponseCode.h"
#include "client/shell/StatusLine.h"
#include "quorex/Text.h"

namespace kvt {

CPageOrder::CPageOrder(const CClientServices& services, CPageIndentureSelect& indentures,
                       const CQuotationSource* quotations, CPreOrderSink* preOrders)
    : m_services(services), m_indentures(indentures), m_quotations(quotations), m_preOrders(preOrders),
      m_numbers(services.api.LoginState()), m_form(m_instruments) {
    m_services.api.SetInstrumentTable(&m_instruments.Table());
}

CPageOrder::~CPageOrder() { m_services.api.SetInstrumentTable(nullptr); }

void CPageOrder::Attach(COrderFormView* view) {
    m_form.Attach(view);
    if (view != nullptr && m_instruments.Table().Size() != 0) {
        view->SetMemberLabel(quorex::TextOf(m_services.api.LoginState().Trader().memberID));
    }
}

TYqOrder CPageOrder::BuildOrderRecord() const { return BuildOrder(m_form.Input(), m_services.api.LoginState().Trader()); }

void CPageOrder::OnMessage(unsigned message, WParam, LParam) {
    if (message == WM_INDENTURE_SELECTED) m_form.View().SetAmountText(std::to_string(m_indentures.SelectedAmount()));
}

void CPageOrder::onRecvYuanQiInstInfo(const TYuanQiInst* instrument, const TTRspMsg& rsp) {
    if (instrument == nullptr || !IsSuccess(&rsp)) return;
    const COrderInstruments::CNameChange change = m_instruments.Add(*instrument);
    COrderFormView& view = m_form.View();
    if (change.removed >= 0) view.RemoveInstrumentItem(change.removed);
    if (change.inserted >= 0) view.InsertInstrumentItem(change.inserted, quorex::TextOf(instrument->yqInstID));
    view.SetMemberLabel(quorex::TextOf(m_services.api.LoginState().Trader().memberID));
}

void CPageOrder::onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg&) {
    if (quotation == nullptr) return;
    const std::string current = m_form.CurrentInstID();
    if (!current.empty() && quorex::FieldText(quotation->instID) == current) ShowQuote(quotation);
}

void CPageOrder::ShowQuote(const TYqQuotation* quotation) {
    COrderFormView& view = m_form.View();
    if (quotation == nullptr) {
        // Another instrument's figures must not stay beside this one.
        view.ShowQuote(COrderQuoteTexts{});
        view.ShowAffordableLots(std::string());
        return;
    }
    view.ShowQuote(QuoteTexts(*quotation));
    view.ShowAffordableLots(AffordableLotsText(ParseDouble(m_availableCapital.c_str()), CurrentPrice(*quotation)));
}

void CPageOrder::onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg& rsp) {
    if (capital == nullptr || !IsSuccess(&rsp)) return;
    m_availableCapital = FormatWhole(capital->todayBalance);
    m_form.View().ShowCapital(m_availableCapital, FormatWhole(capital->availCredit));
}

void CPageOrder::onRecvRspQryYqMemberPosi(const TYqMemberPosi* position, const TTRspMsg& rsp) {
    if (!IsSuccess(&rsp)) return;
    if (position == nullptr) {
        m_form.View().ShowPosition(PositionTexts(nullptr));
        return;
    }
    const std::string current = m_form.CurrentInstID();
    if (current.empty() || quorex::FieldText(position->instID) != current || position->accountType != '0') return;
    m_form.View().ShowPosition(PositionTexts(position));
}

void CPageOrder::onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg& rsp) {
    COrderFormView& view = m_form.View();
    view.Focus(EOrderControl::Instrument);
    m_services.status.Forward(rsp, 0);
    // A success without the echoed order tells no number to acknowledge; it still ends the wait.
    const bool accepted = IsSuccess(&rsp) && order != nullptr;
    m_numbers.OnAnswered(accepted, accepted ? order->localOrderNo : nullptr);
    if (!accepted) return;
    view.SetAmountText(std::string());
    if (view.Guarantee() == EGuarantee::Indenture) ClearIndentureSelection();
}

void CPageOrder::onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg& rsp) {
    if (order == nullptr || !IsSuccess(&rsp)) return;
    m_services.status.Show("收到" + quorex::TextOf(order->orderNo) + "报单更新信息!");
    // The day's orders replayed behind the login dialog would each send three queries; the
    // exchange is asked once when the download has ended instead.
    if (!m_initialDataDone) {
        m_updatedDuringDownload = true;
        return;
    }
    QueryAfterOrderUpdate();
}

void CPageOrder::onRecvReqSendOver() {
    m_initialDataDone = true;
    if (std::exchange(m_updatedDuringDownload, false)) QueryAfterOrderUpdate();
}

void CPageOrder::QueryAfterOrderUpdate() {
    m_services.requests.ReqQryMemberCapital(OwnCapitalQuery(m_services.api.LoginState().Trader()));
    const std::string current = m_form.CurrentInstID();
    if (!current.empty()) QueryMemberPosition(current);
    m_services.bridge.Send(m_services.api.Windows().Window(IdOf(EPageWindow::PositionPage)), WM_PAGE_REFRESH, 0, 0);
}

void CPageOrder::QueryMemberPosition(const std::string& instID) {
    const TTrader& trader = m_services.api.LoginState().Trader();
    TReqQryMemberPosi query{};
    quorex::SetText(query.memberID, quorex::FieldText(trader.memberID));
    quorex::SetText(query.traderID, quorex::FieldText(trader.traderID));
    quorex::SetText(query.instID, instID);
    m_services.requests.ReqQryYqMemberPosi(query);
}

void CPageOrder::OnInstrumentSelected() { InstrumentChanged(); }

void CPageOrder::OnInstrumentEdited() {
    COrderFormView& view = m_form.View();
    if (m_form.CurrentInstID().empty()) return;
    view.SetInstrumentText(view.InstrumentText());
    InstrumentChanged();
}

void CPageOrder::InstrumentChanged() {
    const std::string instID = m_form.CurrentInstID();
    if (instID.empty()) return;
    if (m_form.View().Guarantee() == EGuarantee::Indenture) ClearIndentureSelection();
    QueryMemberPosition(instID);
    ShowQuote(m_quotations != nullptr ? m_quotations->FindQuotation(instID.c_str()) : nullptr);
}

void CPageOrder::ClearIndentureSelection() {
    m_indentures.ClearSelection();
    m_form.View().SetAmountText("0");
}

void CPageOrder::OnOrderKindClicked() { m_form.ApplyOrderKindRule(); }

void CPageOrder::OnGuaranteeClicked() { m_form.ApplyGuaranteeRule(); }

void CPageOrder::OnEnter(EOrderControl at) {
    if (at == EOrderControl::Place) {
        OnPlaceOrder();
    } else if (at == EOrderControl::PreOrder) {
        OnPreOrder();
    } else {
        m_form.MoveOnFromEnter(at);
    }
}

void CPageOrder::Refuse(const COrderRefusal& refusal) {
    m_services.status.Show(refusal.text);
    m_form.View().Focus(refusal.focus);
}

bool CPageOrder::PassesFormChecks(const TYqOrder& order, std::string_view missingInstrumentText) {
    if (const auto refusal = CheckOrderFields(order, missingInstrumentText)) {
        Refuse(*refusal);
        return false;
    }
    if (order.pledgeFlag == '2' && m_indentures.Selection().empty()) {
        Refuse({"请先选择电子货单!", EOrderControl::ChooseIndentures});
        return false;
    }
    return true;
}

void CPageOrder::OnPlaceOrder() {
    TYqOrder order = BuildOrderRecord();
    if (!PassesFormChecks(order, kEnterInstrumentText)) return;
    if (m_numbers.IsOrderInFlight()) {
        m_services.status.Show("还没收到上次报单响应，请稍候再试!");
        return;
    }
    if (!ConfirmOrders(m_services, {"准备发送报单.....", "确定发送报单?", "准备发送报单", "取消报单发送....."})) return;
    // Numbered after the box, from the acknowledged number as it is when the order goes.
    const std::string localOrderNo = m_numbers.NextSingle();
    quorex::SetText(order.localOrderNo, localOrderNo);
    const std::vector<TYqFrznElctIndenture> indentures = BuildIndentureList(order.pledgeFlag, m_indentures.Selection());
    if (m_services.requests.ReqYqOrderEx(order, indentures.data()) == 0) m_numbers.OnSent(localOrderNo);
}

void CPageOrder::OnPreOrder() {
    if (m_preOrders == nullptr) return;
    const TYqOrder order = BuildOrderRecord();
    if (!PassesFormChecks(order, kSelectInstrumentText)) return;
    if (!ConfirmOrders(m_services, {"准备预埋报单.....", "确定要预埋报单？", "准备预埋报单", "取消预埋报单....."})) return;
    m_preOrders->AddPreOrder(order, BuildIndentureList(order.pledgeFlag, m_indentures.Selection()), true);
    m_form.View().SetAmountText(std::string());
}

void CPageOrder::OnChooseIndentures() {
    const TYqOrder order = BuildOrderRecord();
    if (order.instID[0] == '\0') return Refuse({kSelectInstrumentText, EOrderControl::Instrument});
    if (m_form.View().TradingCode().empty()) return Refuse({"请输入交易代码!", EOrderControl::TradingCode});
    TReqQryInstElctIndent query{};
    quorex::SetText(query.clientID, quorex::FieldText(order.clientID));
    quorex::SetText(query.memberID, quorex::FieldText(order.memberID));
    quorex::SetText(query.traderID, quorex::FieldText(order.traderID));
    quorex::SetText(query.instID, quorex::FieldText(order.instID));
    const bool newSell = m_form.View().OrderKind() == EOrderKind::SellOpen;
    m_indentures.Open(newSell ? CPageIndentureSelect::kNewSellMode : CPageIndentureSelect::kBuyTransferMode, query);
}

bool CPageOrder::PrefillInstrument(std::string_view instID) {
    const TYuanQiInst* instrument = m_instruments.FindByInstID(instID);
    if (instrument == nullptr) return false;
    m_form.View().SetInstrumentText(quorex::TextOf(instrument->yqInstID));
    InstrumentChanged();
    return true;
}

void CPageOrder::PrefillFromPosition(const TYqClientPosi& position, char direction) {
    if (direction != 's' && direction != 'b') return;
    if (!PrefillInstrument(quorex::FieldText(position.instID))) return;
    COrderFormView& view = m_form.View();
    std::string_view clientID = quorex::FieldText(position.clientID);
    const std::string_view memberID = quorex::FieldText(m_services.api.LoginState().Trader().memberID);
    if (clientID.starts_with(memberID)) clientID.remove_prefix(memberID.size());
    view.SetTradingCode(quorex::GbkToUtf8(clientID));
    const TYqQuotation* quotation = m_quotations != nullptr ? m_quotations->FindQuotation(position.instID) : nullptr;
    if (quotation != nullptr) view.SetPriceText(FormatWhole(CurrentPrice(*quotation)));
    // In 64 bits, so that a frozen part larger than the holding cannot wrap.
    if (direction == 's') {
        view.SetOrderKind(EOrderKind::SellOffset);
        view.SetAmountText(std::to_string(std::int64_t{position.longPosi} - position.offsetLongFrozen));
    } else {
        view.SetOrderKind(EOrderKind::BuyOffset);
        view.SetAmountText(std::to_string(std::int64_t{position.shortPosi} - position.offsetShortFrozen));
    }
    m_form.ApplyOrderKindRule();
}

void CPageOrder::PrefillFromQuotation(const TYqQuotation& quotation, char direction, char offsetFlag) {
    if (!PrefillInstrument(quorex::FieldText(quotation.instID))) return;
    COrderFormView& view = m_form.View();
    view.SetPriceText(FormatWhole(CurrentPrice(quotation)));
    if (const auto kind = OrderKindOf(direction, offsetFlag)) view.SetOrderKind(*kind);
    m_form.ApplyOrderKindRule();
}

}  // namespace kvt
