// The order entry form's widget: the Enter walk, what the radios show and hide, the edits' input
// limits, the batch panel's place, and the indenture dialog's check boxes.
#include "client/pages/ui/OrderFormWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "ClientTestSupport.h"
#include "KeyPresses.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/pages/PageOrder.h"
#include "client/pages/ui/IndentureSelectDialog.h"
#include "client/shell/ui/ListView.h"

namespace kvt::test {
namespace {

class OrderFormWidgetTest : public ::testing::Test {
protected:
    OrderFormWidgetTest() {
        harness.LogIn();
        harness.Register(EPageWindow::OrderEntryPage, &page);
        TYuanQiInst instrument{};
        quorex::SetText(instrument.instID, "000001");
        quorex::SetText(instrument.yqInstID, "HC0801");
        const TTRspMsg rsp = Response();
        page.onRecvYuanQiInstInfo(&instrument, rsp);
        widget.show();
        widget.activateWindow();
        QApplication::setActiveWindow(&widget);
        QApplication::processEvents();
    }

    ~OrderFormWidgetTest() override { harness.Unregister(EPageWindow::OrderEntryPage); }

    QWidget* Focused() const { return QApplication::focusWidget(); }
    bool HasFocus(QWidget* w) const { return Focused() == w || (Focused() != nullptr && Focused()->focusProxy() == w); }

    CClientHarness harness;
    CPageIndentureSelect select{harness.Services()};
    CPageOrder page{harness.Services(), select, nullptr, nullptr};
    COrderFormWidget widget{page, select};
};

TEST_F(OrderFormWidgetTest, EnterWalksTheFormInTabOrder) {
    widget.Instrument().setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(HasFocus(&widget.Instrument()));
    PressEnter();
    EXPECT_TRUE(HasFocus(&widget.TradingCodeEdit()));
    PressEnter();
    EXPECT_TRUE(HasFocus(&widget.PriceEdit()));
    PressEnter();
    EXPECT_TRUE(HasFocus(&widget.AmountEdit()));

    // From an order-kind radio straight to 定金, then on to 下单 past the hidden 电子货单.
    widget.OrderKindRadio(EOrderKind::SellOffset).setFocus();
    PressEnter();
    EXPECT_TRUE(HasFocus(&widget.DepositRadio()));
    PressEnter();
    EXPECT_TRUE(HasFocus(&widget.PlaceButton()));

    // Enter on 下单 places the order: here it stops at the missing instrument.
    harness.StatusTexts();
    PressEnter();
    EXPECT_EQ(harness.LastStatus(), "请先输入正确的商品代码!");
    EXPECT_TRUE(HasFocus(&widget.Instrument()));
}

TEST_F(OrderFormWidgetTest, InBatchModeEnterOnAnOrderKindGoesToThePriceStep) {
    auto* priceStep = new QLineEdit;
    widget.BatchFrame().layout()->addWidget(priceStep);
    widget.SetBatchPriceStepBox(priceStep);
    EXPECT_FALSE(widget.BatchFrame().isVisible());
    EXPECT_EQ(page.ToggleBatchMode(), "单笔模式");
    EXPECT_TRUE(widget.BatchFrame().isVisible());
    EXPECT_EQ(widget.AmountLabel().text(), QStringLiteral("单笔数量"));
    widget.OrderKindRadio(EOrderKind::BuyOpen).setFocus();
    PressEnter();
    EXPECT_TRUE(HasFocus(priceStep));
    EXPECT_EQ(page.ToggleBatchMode(), "批量模式");
    EXPECT_FALSE(widget.BatchFrame().isVisible());
}

TEST_F(OrderFormWidgetTest, RadiosShowAndHideTheIndentureControls) {
    EXPECT_TRUE(widget.OrderKindRadio(EOrderKind::BuyOpen).isChecked());
    EXPECT_TRUE(widget.DepositRadio().isChecked());
    EXPECT_FALSE(widget.IndentureRadio().isVisible());
    EXPECT_FALSE(widget.ChooseIndenturesButton().isVisible());
    EXPECT_FALSE(widget.PreOrderButton().isVisible());
    EXPECT_FALSE(widget.AffordableLotsLabel().isVisible());

    widget.OrderKindRadio(EOrderKind::SellOpen).click();
    EXPECT_TRUE(widget.IndentureRadio().isVisible());
    widget.IndentureRadio().click();
    EXPECT_TRUE(widget.ChooseIndenturesButton().isVisible());
    EXPECT_FALSE(widget.AmountEdit().isEnabled());

    widget.OrderKindRadio(EOrderKind::SellOffset).click();
    EXPECT_TRUE(widget.DepositRadio().isChecked());
    EXPECT_FALSE(widget.IndentureRadio().isVisible());
    EXPECT_FALSE(widget.ChooseIndenturesButton().isVisible());
    EXPECT_TRUE(widget.AmountEdit().isEnabled());

    page.SetPreOrderVisible(true);
    EXPECT_TRUE(widget.PreOrderButton().isVisible());
}

TEST_F(OrderFormWidgetTest, EditsTakeOnlyWhatTheirFieldsHold) {
    Type(&widget.PriceEdit(), QStringLiteral("30a0.5"));
    EXPECT_EQ(widget.PriceEdit().text(), QStringLiteral("3005"));
    Type(&widget.AmountEdit(), QStringLiteral("-12x"));
    EXPECT_EQ(widget.AmountEdit().text(), QStringLiteral("12"));
    Type(&widget.TradingCodeEdit(), QStringLiteral("012345"));
    EXPECT_EQ(widget.TradingCodeEdit().text(), QStringLiteral("0123"));
    Type(widget.Instrument().lineEdit(), QStringLiteral("HC08012"));
    EXPECT_EQ(widget.Instrument().currentText(), QStringLiteral("HC0801"));
    EXPECT_EQ(widget.MemberLabel().text(), QStringLiteral("0001"));
    // Typing the exact name selects the instrument and asks for its position.
    EXPECT_EQ(widget.Instrument().currentIndex(), 0);
    EXPECT_EQ(harness.requests.memberPosiQueries.size(), 1u);
}

TEST_F(OrderFormWidgetTest, FitsTheUpperPane) {
    EXPECT_GE(widget.sizeHint().height(), 150);
    EXPECT_LE(widget.sizeHint().height(), 230);
    EXPECT_LE(widget.sizeHint().width(), 1366);
}

TEST_F(OrderFormWidgetTest, TheIndentureDialogTicksFillInTheAmount) {
    widget.Instrument().setEditText(QStringLiteral("HC0801"));
    widget.TradingCodeEdit().setText(QStringLiteral("0123"));
    widget.OrderKindRadio(EOrderKind::SellOpen).click();
    widget.IndentureRadio().click();
    widget.ChooseIndenturesButton().click();
    CIndentureSelectDialog& dialog = widget.IndentureDialog();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_FALSE(dialog.isModal());
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("电子货单选择"));

    TElctIndenture indenture{};
    quorex::SetText(indenture.indentNo, "IND0000001");
    indenture.avaAmount = 6;
    indenture.canUseInYq = '1';
    const TTRspMsg rsp = Response();
    select.onRecvRspQryYqInstElctIndent(&indenture, rsp);
    CListModel& model = dialog.Model();
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(model.columnCount(), 15);
    const QModelIndex cell = model.index(0, 0);
    EXPECT_TRUE(model.flags(cell) & Qt::ItemIsUserCheckable);
    EXPECT_TRUE(model.flags(cell) & Qt::ItemIsEditable);
    model.setData(cell, Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(model.data(cell, Qt::CheckStateRole).toInt(), static_cast<int>(Qt::Checked));
    EXPECT_EQ(model.data(cell, Qt::DisplayRole).toString(), QStringLiteral("6"));

    dialog.ConfirmButton().click();
    EXPECT_FALSE(dialog.isVisible());
    harness.bridge.Deliver();
    EXPECT_EQ(widget.AmountEdit().text(), QStringLiteral("6"));
}

}  // namespace
}  // namespace kvt::test
