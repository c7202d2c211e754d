// Test doubles around the order entry page: a form that keeps what the page shows and answers what
// a trader typed, a quotation store, a pre-order sink, and record makers.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "client/pages/OrderFormView.h"
#include "client/pages/PageLinks.h"
#include "quorex/Text.h"

namespace kvt::test {

class CFakeOrderForm : public COrderFormView {
public:
    std::string instrument, memberLabel, tradingCode, price, amount, amountLabel, affordableLots;
    std::vector<std::string> items;
    EOrderKind kind = EOrderKind::BuyOpen;
    EGuarantee guarantee = EGuarantee::Deposit;
    bool amountEnabled = true, indentureRadioVisible = true, chooseVisible = true, preOrderVisible = true,
         batchVisible = true;
    COrderQuoteTexts quote;
    COrderPositionTexts position;
    std::string available, credit;
    std::vector<EOrderControl> focus;  // every focus move, in order
    int nextControlMoves = 0;

    // What a trader does: type into the form.
    void Fill(const std::string& instrumentText, const std::string& code, const std::string& priceText,
              const std::string& amountText) {
        instrument = instrumentText;
        tradingCode = code;
        price = priceText;
        amount = amountText;
    }
    EOrderControl LastFocus() const { return focus.empty() ? EOrderControl::Other : focus.back(); }

    std::string InstrumentText() const override { return instrument; }
    void SetInstrumentText(const std::string& text) override { instrument = text; }
    void InsertInstrumentItem(int at, const std::string& text) override { items.insert(items.begin() + at, text); }
    void RemoveInstrumentItem(int at) override { items.erase(items.begin() + at); }
    void SetMemberLabel(const std::string& text) override { memberLabel = text; }
    std::string TradingCode() const override { return tradingCode; }
    void SetTradingCode(const std::string& text) override { tradingCode = text; }
    std::string PriceText() const override { return price; }
    void SetPriceText(const std::string& text) override { price = text; }
    std::string AmountText() const override { return amount; }
    void SetAmountText(const std::string& text) override { amount = text; }
    void SetAmountEnabled(bool enabled) override { amountEnabled = enabled; }
    void SetAmountLabel(const std::string& text) override { amountLabel = text; }
    EOrderKind OrderKind() const override { return kind; }
    void SetOrderKind(EOrderKind value) override { kind = value; }
    EGuarantee Guarantee() const override { return guarantee; }
    void SetGuarantee(EGuarantee value) override { guarantee = value; }
    void SetIndentureRadioVisible(bool visible) override { indentureRadioVisible = visible; }
    void SetChooseIndenturesVisible(bool visible) override { chooseVisible = visible; }
    void SetPreOrderVisible(bool visible) override { preOrderVisible = visible; }
    void SetBatchPanelVisible(bool visible) override { batchVisible = visible; }
    void ShowQuote(const COrderQuoteTexts& texts) override { quote = texts; }
    void ShowPosition(const COrderPositionTexts& texts) override { position = texts; }
    void ShowCapital(const std::string& a, const std::string& c) override {
        available = a;
        credit = c;
    }
    void ShowAffordableLots(const std::string& text) override { affordableLots = text; }
    void Focus(EOrderControl control) override { focus.push_back(control); }
    void FocusNextControl() override { ++nextControlMoves; }
};

class CStoredQuotations : public CQuotationSource {
public:
    std::map<std::string, TYqQuotation> quotations;
    const TYqQuotation* FindQuotation(const char* instID) const override {
        const auto found = quotations.find(instID);
        return found == quotations.end() ? nullptr : &found->second;
    }
};

class CRecordedPreOrders : public CPreOrderSink {
public:
    struct CAdded {
        TYqOrder order;
        std::vector<TYqFrznElctIndenture> indentures;
        bool bringIntoView;
    };
    std::vector<CAdded> added;
    void AddPreOrder(const TYqOrder& order, std::vector<TYqFrznElctIndenture> indentures, bool bringIntoView) override {
        added.push_back({order, std::move(indentures), bringIntoView});
    }
};

inline TYuanQiInst Instrument(const char* instID, const char* yqInstID) {
    TYuanQiInst instrument{};
    quorex::SetText(instrument.instID, instID);
    quorex::SetText(instrument.yqInstID, yqInstID);
    return instrument;
}

inline TYqQuotation Quotation(const char* instID, double lastest, double lastAverage) {
    TYqQuotation quotation{};
    quorex::SetText(quotation.instID, instID);
    quotation.lastest = lastest;
    quotation.lastAverage = lastAverage;
    return quotation;
}

// An indenture record with the amounts that decide whether and how much it can freeze.
inline TElctIndenture Indenture(const char* indentNo, int avaAmount, int ocuAmountYq = 0, int frznYqOffset = 0,
                                char canUseInYq = '1') {
    TElctIndenture indenture{};
    quorex::SetText(indenture.indentNo, indentNo);
    indenture.avaAmount = avaAmount;
    indenture.ocuAmountYq = ocuAmountYq;
    indenture.frznYqOffset = frznYqOffset;
    indenture.canUseInYq = canUseInYq;
    return indenture;
}

}  // namespace kvt::test
