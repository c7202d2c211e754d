// CPageOrder: the logic of the order entry form above the lists. The trader fills in instrument,
// trading code, price, amount, order kind and guarantee and places one order (下单) or parks it as a
// pre-order (预埋); beside the form the page shows the instrument's quote, the member's own
// position in it and the available capital and credit.
//
// What it hears: instruments, quotations, capital, the member's positions, the answers to its
// orders, order updates (which re-query capital and position and refresh the positions page; the
// updates of the initial download do it once, at its end) and, posted by the indenture dialog,
// the confirmed indenture selection (WM_INDENTURE_SELECTED).
//
// One single order may be unanswered at a time; the local order numbers and their rules are
// CLocalOrderNumbers'. An order with electronic indentures freezes the ones chosen in the dialog
// behind 选择货单 (CPageIndentureSelect).
//
// The page keeps its own instrument list and lends it to CClientApi (SetInstrumentTable) for as
// long as it lives, so that the list pages can name instruments. Whoever builds the windows
// registers the page as EPageWindow::OrderEntryPage and its indenture logic as
// EPageWindow::IndentureSelectPage.
//
// Thread contract: user interface thread only. Ownership: owns its instruments and form state;
// the indenture dialog's logic, the quotation source and the pre-order sink belong to the
// application and outlive the page (the last two may be null).
#pragma once

#include <string>
#include <string_view>

#include "client/pages/OrderForm.h"
#include "client/pages/OrderInstruments.h"
#include "client/pages/PageLinks.h"
#include "client/shell/ClientServices.h"
#include "client/shell/LocalOrderNumbers.h"
#include "client/shell/MessageTarget.h"
#include "client/shell/TraderEvents.h"

namespace kvt {

class CPageIndentureSelect;

class CPageOrder : public CMessageTarget, public CTraderEvents, public COrderPrefill {
public:
    CPageOrder(const CClientServices& services, CPageIndentureSelect& indentures, const CQuotationSource* quotations,
               CPreOrderSink* preOrders);
    ~CPageOrder() override;
    CPageOrder(const CPageOrder&) = delete;
    CPageOrder& operator=(const CPageOrder&) = delete;

    // The widget attaches its form when it is built and detaches it (null) when it goes.
    void Attach(COrderFormView* view);

    // Commands of the form.
    void OnPlaceOrder();          // 下单
    void OnPreOrder();            // 预埋
    void OnChooseIndentures();    // 选择货单
    void OnInstrumentSelected();  // an item picked from the instrument list
    void OnInstrumentEdited();    // the instrument box's text typed
    void OnOrderKindClicked();
    void OnGuaranteeClicked();
    // The Enter key on a control of the form.
    void OnEnter(EOrderControl at);

    // The main frame's 批量模式 / 单笔模式 button: returns the button's new caption.
    std::string ToggleBatchMode() { return m_form.ToggleBatchMode(); }
    // 预埋 is hidden until this shows it.
    void SetPreOrderVisible(bool visible) { m_form.SetPreOrderVisible(visible); }

    void PrefillFromPosition(const TYqClientPosi& position, char direction) override;
    void PrefillFromQuotation(const TYqQuotation& quotation, char direction, char offsetFlag) override;

    void onRecvYuanQiInstInfo(const TYuanQiInst* instrument, const TTRspMsg& rsp) override;
    void onRecvYqQuotation(const TYqQuotation* quotation, const TTRspMsg& rsp) override;
    void onRecvRspQryMemberCapital(const TMemberCapital* capital, const TTRspMsg& rsp) override;
    void onRecvRspQryYqMemberPosi(const TYqMemberPosi* position, const TTRspMsg& rsp) override;
    void onRecvRspYqOrder(const TYqOrder* order, const TTRspMsg& rsp) override;
    void onRecvRtnYqOrder(const TYqOrder* order, const TTRspMsg& rsp) override;
    void onRecvRtnYqOrderCancel(const TYqOrder* order, const TTRspMsg& rsp) override { onRecvRtnYqOrder(order, rsp); }
    void onRecvReqSendOver() override;
    // WM_INDENTURE_SELECTED.
    void OnMessage(unsigned message, WParam wParam, LParam lParam) override;

    // The form, for the batch panel: instrument lookup, trading code, price, amount, order kind,
    // focus moves and the amount box.
    COrderForm& Form() { return m_form; }
    const COrderForm& Form() const { return m_form; }
    // The form's order as the single order builds it (no local order number yet).
    TYqOrder BuildOrderRecord() const;
    const COrderInstruments& Instruments() const { return m_instruments; }

private:
    // A capital query, a member position query for the current instrument, the positions page
    // refreshed.
    void QueryAfterOrderUpdate();

    // After the instrument box names another instrument.
    void InstrumentChanged();
    void ShowQuote(const TYqQuotation* quotation);
    void QueryMemberPosition(const std::string& instID);
    // Puts the instrument in the box and runs the instrument change; false for an unknown one.
    bool PrefillInstrument(std::string_view instID);
    // Fails with the status text and the focus move of the refusal.
    void Refuse(const COrderRefusal& refusal);
    // The checks that 下单 and 预埋 share, in their order; a refusal is shown and false returned.
    bool PassesFormChecks(const TYqOrder& order, std::string_view missingInstrumentText);
    // The indenture selection is forgotten and the amount box says "0".
    void ClearIndentureSelection();

    CClientServices m_services;
    CPageIndentureSelect& m_indentures;
    const CQuotationSource* m_quotations;
    CPreOrderSink* m_preOrders;
    CLocalOrderNumbers m_numbers;
    COrderInstruments m_instruments;
    COrderForm m_form;
    std::string m_availableCapital;  // 可用资金 as shown
    bool m_initialDataDone = false;
    bool m_updatedDuringDownload = false;
};

}  // namespace kvt
