// The order entry form as its logic (CPageOrder) sees it: the controls it names, the texts of the
// read-only panels, and COrderFormView, the abstract form that the widget implements. The logic
// reads the typed texts and the radios from the view when it needs them and tells the view what to
// show, enable, hide and focus; the view forwards clicks, edits and the Enter key to the logic.
//
// Thread contract: user interface thread only. All texts are UTF-8.
#pragma once

#include <array>
#include <string>

namespace kvt {

// The four order kinds, in the order of their radios.
enum class EOrderKind { BuyOpen, SellOpen, SellOffset, BuyOffset };  // 买入新订, 卖出新订, 转让卖出, 转让买入
// The performance guarantee.
enum class EGuarantee { Deposit, Indenture };  // 定金, 电子货单

// The controls that the logic moves the focus to or asks about, in tab order; BatchPriceStep is the
// price step box of the batch panel, when one is shown.
enum class EOrderControl {
    Instrument,
    TradingCode,
    Price,
    Amount,
    BuyOpen,
    SellOpen,
    SellOffset,
    BuyOffset,
    Deposit,
    Indenture,
    Place,
    ChooseIndentures,
    PreOrder,
    BatchPriceStep,
    Other,  // anything else on the form
};

// The quote panel: three levels of bids and asks (price and volume each), current price, limits.
struct COrderQuoteTexts {
    std::array<std::string, 3> bidPrices, bidLots, askPrices, askLots;
    std::string current, upper, lower;
};

// The member's own position in the current instrument.
struct COrderPositionTexts {
    std::string longAmount, shortAmount, longAverage, shortAverage;  // 买订货量, 卖订货量, 买均价, 卖均价
};

class COrderFormView {
public:
    virtual ~COrderFormView() = default;

    // The instrument box: its text, and its sorted list of yqInstID items.
    virtual std::string InstrumentText() const = 0;
    // Sets the text and selects the item with that text, if there is one.
    virtual void SetInstrumentText(const std::string& text) = 0;
    virtual void InsertInstrumentItem(int position, const std::string& text) = 0;
    virtual void RemoveInstrumentItem(int position) = 0;

    virtual void SetMemberLabel(const std::string& memberID) = 0;
    virtual std::string TradingCode() const = 0;
    virtual void SetTradingCode(const std::string& code) = 0;
    virtual std::string PriceText() const = 0;
    virtual void SetPriceText(const std::string& text) = 0;
    virtual std::string AmountText() const = 0;
    virtual void SetAmountText(const std::string& text) = 0;
    virtual void SetAmountEnabled(bool enabled) = 0;
    virtual void SetAmountLabel(const std::string& label) = 0;

    virtual EOrderKind OrderKind() const = 0;
    virtual void SetOrderKind(EOrderKind kind) = 0;
    virtual EGuarantee Guarantee() const = 0;
    virtual void SetGuarantee(EGuarantee guarantee) = 0;
    virtual void SetIndentureRadioVisible(bool visible) = 0;
    virtual void SetChooseIndenturesVisible(bool visible) = 0;
    virtual void SetPreOrderVisible(bool visible) = 0;
    virtual void SetBatchPanelVisible(bool visible) = 0;

    virtual void ShowQuote(const COrderQuoteTexts& quote) = 0;
    virtual void ShowPosition(const COrderPositionTexts& position) = 0;
    virtual void ShowCapital(const std::string& available, const std::string& credit) = 0;
    // The hidden 可订货量 label.
    virtual void ShowAffordableLots(const std::string& text) = 0;

    virtual void Focus(EOrderControl control) = 0;
    virtual void FocusNextControl() = 0;
};

}  // namespace kvt
