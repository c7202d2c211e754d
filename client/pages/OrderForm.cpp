// COrderForm: lookups and rules over the form's view.
#include "client/pages/OrderForm.h"

#include "client/pages/OrderInstruments.h"
#include "quorex/Text.h"

namespace kvt {

namespace {

// The form of a page whose widget does not exist (yet, or any more): empty, and shows nothing.
class CDetachedFormView final : public COrderFormView {
public:
    std::string InstrumentText() const override { return {}; }
    void SetInstrumentText(const std::string&) override {}
    void InsertInstrumentItem(int, const std::string&) override {}
    void RemoveInstrumentItem(int) override {}
    void SetMemberLabel(const std::string&) override {}
    std::string TradingCode() const override { return {}; }
    void SetTradingCode(const std::string&) override {}
    std::string PriceText() const override { return {}; }
    void SetPriceText(const std::string&) override {}
    std::string AmountText() const override { return {}; }
    void SetAmountText(const std::string&) override {}
    void SetAmountEnabled(bool) override {}
    void SetAmountLabel(const std::string&) override {}
    EOrderKind OrderKind() const override { return EOrderKind::BuyOpen; }
    void SetOrderKind(EOrderKind) override {}
    EGuarantee Guarantee() const override { return EGuarantee::Deposit; }
    void SetGuarantee(EGuarantee) override {}
    void SetIndentureRadioVisible(bool) override {}
    void SetChooseIndenturesVisible(bool) override {}
    void SetPreOrderVisible(bool) override {}
    void SetBatchPanelVisible(bool) override {}
    void ShowQuote(const COrderQuoteTexts&) override {}
    void ShowPosition(const COrderPositionTexts&) override {}
    void ShowCapital(const std::string&, const std::string&) override {}
    void ShowAffordableLots(const std::string&) override {}
    void Focus(EOrderControl) override {}
    void FocusNextControl() override {}
};

CDetachedFormView& DetachedView() {
    static CDetachedFormView view;
    return view;
}

bool IsOrderKindRadio(EOrderControl control) {
    return control == EOrderControl::BuyOpen || control == EOrderControl::SellOpen ||
           control == EOrderControl::SellOffset || control == EOrderControl::BuyOffset;
}

}  // namespace

COrderForm::COrderForm(const COrderInstruments& instruments) : m_instruments(instruments) {}

COrderFormView& COrderForm::View() const { return m_view != nullptr ? *m_view : DetachedView(); }

void COrderForm::Attach(COrderFormView* view) {
    m_view = view;
    if (view == nullptr) return;
    int position = 0;
    for (const std::string& name : m_instruments.Names()) view->InsertInstrumentItem(position++, quorex::GbkToUtf8(name));
    view->SetOrderKind(EOrderKind::BuyOpen);
    view->SetGuarantee(EGuarantee::Deposit);
    ApplyOrderKindRule();
    ApplyGuaranteeRule();
    view->SetBatchPanelVisible(m_batchMode);
    view->SetAmountLabel(m_batchMode ? "单笔数量" : "数量");
    view->SetPreOrderVisible(m_preOrderVisible);
}

std::string COrderForm::CurrentInstID() const {
    const TYuanQiInst* instrument = m_instruments.FindByYqInstID(quorex::Utf8ToGbk(View().InstrumentText()));
    return instrument == nullptr ? std::string() : std::string(quorex::FieldText(instrument->instID));
}

COrderInput COrderForm::Input() const {
    const COrderFormView& view = View();
    return {CurrentInstID(), view.TradingCode(), view.PriceText(), view.AmountText(), view.OrderKind(), view.Guarantee()};
}

void COrderForm::ApplyGuaranteeRule() {
    COrderFormView& view = View();
    const bool deposit = view.Guarantee() == EGuarantee::Deposit;
    view.SetAmountEnabled(deposit);
    view.SetChooseIndenturesVisible(!deposit);
}

void COrderForm::ApplyOrderKindRule() {
    COrderFormView& view = View();
    const EOrderKind kind = view.OrderKind();
    if (kind == EOrderKind::SellOpen || kind == EOrderKind::BuyOffset) {
        view.SetIndentureRadioVisible(true);
        return;
    }
    view.SetGuarantee(EGuarantee::Deposit);
    view.SetIndentureRadioVisible(false);
    view.SetChooseIndenturesVisible(false);
    view.SetAmountEnabled(true);
}

std::string COrderForm::ToggleBatchMode() {
    m_batchMode = !m_batchMode;
    View().SetBatchPanelVisible(m_batchMode);
    View().SetAmountLabel(m_batchMode ? "单笔数量" : "数量");
    return m_batchMode ? "单笔模式" : "批量模式";
}

void COrderForm::SetPreOrderVisible(bool visible) {
    m_preOrderVisible = visible;
    View().SetPreOrderVisible(visible);
}

void COrderForm::MoveOnFromEnter(EOrderControl at) {
    if (IsOrderKindRadio(at)) {
        View().Focus(m_batchMode ? EOrderControl::BatchPriceStep : EOrderControl::Deposit);
        return;
    }
    View().FocusNextControl();
}

}  // namespace kvt
