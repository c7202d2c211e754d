// COrderFormWidget: the order entry form in the upper pane of the main window, the widget side of
// CPageOrder. Left, the order itself: 商品代码 (an editable, sorted drop-down; six characters may be
// typed), 交易代码 (the member code, then a four-character edit), 价格 and 数量 (digits only), the
// four order-kind radios, 定金 / 电子货单, and 下单, 选择货单, 预埋. Then the quote panel (three
// levels of asks over three of bids, current price and limits), the member's position and capital,
// and a reserved place for the batch panel, empty and hidden until batch mode shows it.
//
// Clicks, picks and typed text go to the page; so does the Enter key on any control of the form,
// and the page decides where the focus goes. The widget also owns the indenture dialog.
//
// Thread contract: user interface thread only. Ownership: the page and the indenture logic
// outlive the widget; the widget attaches its form and the dialog on construction and detaches
// them when it goes.
#pragma once

#include <QPointer>
#include <QWidget>
#include <array>

#include "client/pages/OrderFormView.h"

class QButtonGroup;
class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace kvt {

class CIndentureSelectDialog;
class CPageIndentureSelect;
class CPageOrder;

class COrderFormWidget : public QWidget, private COrderFormView {
public:
    COrderFormWidget(CPageOrder& page, CPageIndentureSelect& indentures, QWidget* parent = nullptr);
    ~COrderFormWidget() override;

    // The reserved place of the batch panel: a panel put into its layout is shown with batch mode.
    QFrame& BatchFrame() const { return *m_batchFrame; }
    // The batch panel's price step box, where Enter on an order-kind radio leads in batch mode.
    void SetBatchPriceStepBox(QWidget* box) { m_priceStepBox = box; }

    QComboBox& Instrument() const { return *m_instrument; }
    QLabel& MemberLabel() const { return *m_memberLabel; }
    QLineEdit& TradingCodeEdit() const { return *m_tradingCode; }
    QLineEdit& PriceEdit() const { return *m_price; }
    QLineEdit& AmountEdit() const { return *m_amount; }
    QLabel& AmountLabel() const { return *m_amountLabel; }
    QRadioButton& OrderKindRadio(EOrderKind kind) const;
    QRadioButton& DepositRadio() const { return *m_deposit; }
    QRadioButton& IndentureRadio() const { return *m_indenture; }
    QPushButton& PlaceButton() const { return *m_place; }
    QPushButton& ChooseIndenturesButton() const { return *m_choose; }
    QPushButton& PreOrderButton() const { return *m_preOrder; }
    QLabel& AffordableLotsLabel() const { return *m_affordable; }
    QLabel& AvailableCapitalLabel() const { return *m_available; }
    QLabel& LongAmountLabel() const { return *m_longAmount; }
    CIndentureSelectDialog& IndentureDialog() const { return *m_dialog; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* MakeOrderPart();
    QWidget* MakeQuotePart();
    QWidget* MakeAccountPart();
    void ConnectInput();
    EOrderControl ControlOf(const QObject* object) const;
    QWidget* WidgetOf(EOrderControl control) const;

    std::string InstrumentText() const override;
    void SetInstrumentText(const std::string& text) override;
    void InsertInstrumentItem(int position, const std::string& text) override;
    void RemoveInstrumentItem(int position) override;
    void SetMemberLabel(const std::string& memberID) override;
    std::string TradingCode() const override;
    void SetTradingCode(const std::string& code) override;
    std::string PriceText() const override;
    void SetPriceText(const std::string& text) override;
    std::string AmountText() const override;
    void SetAmountText(const std::string& text) override;
    void SetAmountEnabled(bool enabled) override;
    void SetAmountLabel(const std::string& label) override;
    EOrderKind OrderKind() const override;
    void SetOrderKind(EOrderKind kind) override;
    EGuarantee Guarantee() const override;
    void SetGuarantee(EGuarantee guarantee) override;
    void SetIndentureRadioVisible(bool visible) override;
    void SetChooseIndenturesVisible(bool visible) override;
    void SetPreOrderVisible(bool visible) override;
    void SetBatchPanelVisible(bool visible) override;
    void ShowQuote(const COrderQuoteTexts& quote) override;
    void ShowPosition(const COrderPositionTexts& position) override;
    void ShowCapital(const std::string& available, const std::string& credit) override;
    void ShowAffordableLots(const std::string& text) override;
    void Focus(EOrderControl control) override;
    void FocusNextControl() override;

    CPageOrder& m_page;
    QComboBox* m_instrument;
    QLabel* m_memberLabel;
    QLineEdit* m_tradingCode;
    QLineEdit* m_price;
    QLineEdit* m_amount;
    QLabel* m_amountLabel;
    std::array<QRadioButton*, 4> m_kinds;  // in EOrderKind order
    QButtonGroup* m_kindGroup;
    QRadioButton* m_deposit;
    QRadioButton* m_indenture;
    QButtonGroup* m_guaranteeGroup;
    QPushButton* m_place;
    QPushButton* m_choose;
    QPushButton* m_preOrder;
    std::array<QLabel*, 3> m_bidPrices{}, m_bidLots{}, m_askPrices{}, m_askLots{};
    QLabel* m_current = nullptr;
    QLabel* m_upper = nullptr;
    QLabel* m_lower = nullptr;
    QLabel* m_longAmount = nullptr;
    QLabel* m_shortAmount = nullptr;
    QLabel* m_longAverage = nullptr;
    QLabel* m_shortAverage = nullptr;
    QLabel* m_available = nullptr;
    QLabel* m_credit = nullptr;
    QLabel* m_affordable = nullptr;
    QFrame* m_batchFrame = nullptr;
    QPointer<QWidget> m_priceStepBox;  // the batch panel's, forgotten when it goes
    CIndentureSelectDialog* m_dialog;
};

}  // namespace kvt
