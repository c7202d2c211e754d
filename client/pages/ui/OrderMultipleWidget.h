// COrderMultipleWidget: the batch panel's widget, the widget side of CPageOrderMultiple. Two small
// edits, 价格幅度 (the price step: digits and minus signs only) and 委托笔数 (the number of orders:
// digits only), and the buttons 预埋 and 下单, stacked to fit the order form's reserved frame.
//
// It puts itself into that frame of the order form and makes its price step box the place where
// Enter on an order-kind radio leads in batch mode; the frame, and with it this panel, is shown
// and hidden by the page's batch mode. Clicks and the Enter key on any of its controls go to the
// panel's logic, which decides what runs and where the focus goes.
//
// Thread contract: user interface thread only. Ownership: owned by the order form's frame; the
// panel's logic outlives the widget, which attaches itself on construction and detaches when it
// goes.
#pragma once

#include <QWidget>

#include "client/pages/PageOrderMultiple.h"

class QLineEdit;
class QPushButton;

namespace kvt {

class COrderFormWidget;

class COrderMultipleWidget : public QWidget, private COrderMultipleView {
public:
    COrderMultipleWidget(CPageOrderMultiple& panel, COrderFormWidget& form);
    ~COrderMultipleWidget() override;

    QLineEdit& PriceStepEdit() const { return *m_priceStep; }
    QLineEdit& OrderCountEdit() const { return *m_orderCount; }
    QPushButton& PreOrderButton() const { return *m_preOrder; }
    QPushButton& PlaceButton() const { return *m_place; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    EBatchControl ControlOf(const QObject* object) const;

    std::string PriceStepText() const override;
    void SetPriceStepText(const std::string& text) override;
    std::string OrderCountText() const override;
    void SetOrderCountText(const std::string& text) override;
    void Focus(EBatchControl control) override;
    void FocusNextControl() override;

    CPageOrderMultiple& m_panel;
    QLineEdit* m_priceStep;
    QLineEdit* m_orderCount;
    QPushButton* m_preOrder;
    QPushButton* m_place;
};

}  // namespace kvt
