// The batch panel's widget: what its edits take, its place in the order form shown with batch
// mode, the Enter key, and its size.
#include "client/pages/ui/OrderMultipleWidget.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "ClientTestSupport.h"
#include "KeyPresses.h"
#include "client/pages/PageIndentureSelect.h"
#include "client/pages/PageOrder.h"
#include "client/pages/PageOrderMultiple.h"
#include "client/pages/ui/OrderFormWidget.h"

namespace kvt::test {
namespace {

class OrderMultipleWidgetTest : public ::testing::Test {
protected:
    OrderMultipleWidgetTest() {
        harness.LogIn();
        form.show();
        form.activateWindow();
        QApplication::setActiveWindow(&form);
        QApplication::processEvents();
    }

    CClientHarness harness;
    CPageIndentureSelect select{harness.Services()};
    CPageOrder page{harness.Services(), select, nullptr, nullptr};
    CPageOrderMultiple batch{harness.Services(), page, nullptr};
    COrderFormWidget form{page, select};
    // Owned by the form's frame.
    COrderMultipleWidget* panel = new COrderMultipleWidget(batch, form);
};

TEST_F(OrderMultipleWidgetTest, TheEditsTakeOnlyTheirCharacters) {
    EXPECT_EQ(panel->PriceStepEdit().text(), QStringLiteral("0"));
    EXPECT_EQ(panel->OrderCountEdit().text(), QStringLiteral("0"));
    panel->PriceStepEdit().clear();
    Type(&panel->PriceStepEdit(), QStringLiteral("-1a0.5 -+"));
    EXPECT_EQ(panel->PriceStepEdit().text(), QStringLiteral("-105-"));
    panel->OrderCountEdit().clear();
    Type(&panel->OrderCountEdit(), QStringLiteral("-12x3"));
    EXPECT_EQ(panel->OrderCountEdit().text(), QStringLiteral("123"));
}

TEST_F(OrderMultipleWidgetTest, ThePanelStandsInTheFormsFrameAndEnterWalksIt) {
    EXPECT_EQ(panel->parentWidget(), &form.BatchFrame());
    EXPECT_FALSE(panel->isVisible());
    page.ToggleBatchMode();
    ASSERT_TRUE(panel->isVisible());

    // From an order-kind radio into the panel, then through it.
    form.OrderKindRadio(EOrderKind::SellOpen).setFocus();
    PressEnter();
    EXPECT_EQ(QApplication::focusWidget(), &panel->PriceStepEdit());
    PressEnter();
    EXPECT_EQ(QApplication::focusWidget(), &panel->OrderCountEdit());
    PressEnter();
    EXPECT_EQ(QApplication::focusWidget(), &panel->PreOrderButton());

    // Enter on 下单 runs the batch order: here it stops at the missing instrument.
    panel->PlaceButton().setFocus();
    harness.StatusTexts();
    PressEnter();
    EXPECT_EQ(harness.LastStatus(), "请先选择商品代码!");
    EXPECT_TRUE(form.Instrument().hasFocus());
    EXPECT_TRUE(harness.prompter.boxes.empty());
}

TEST_F(OrderMultipleWidgetTest, ARefusalOfThePanelsOwnBoxFocusesIt) {
    page.ToggleBatchMode();
    const TYuanQiInst instrument = [] {
        TYuanQiInst record{};
        quorex::SetText(record.instID, "000001");
        quorex::SetText(record.yqInstID, "HC0801");
        return record;
    }();
    const TTRspMsg rsp = Response();
    page.onRecvYuanQiInstInfo(&instrument, rsp);
    form.Instrument().setEditText(QStringLiteral("HC0801"));
    form.TradingCodeEdit().setText(QStringLiteral("0123"));
    form.PriceEdit().setText(QStringLiteral("3000"));
    form.AmountEdit().setText(QStringLiteral("5"));
    panel->OrderCountEdit().clear();
    harness.StatusTexts();
    panel->PlaceButton().click();
    EXPECT_EQ(harness.LastStatus(), "请输入委托数量!");
    EXPECT_TRUE(panel->OrderCountEdit().hasFocus());
}

TEST_F(OrderMultipleWidgetTest, FitsTheFormsReservedFrame) {
    page.ToggleBatchMode();
    EXPECT_LE(panel->sizeHint().width(), 220);
    EXPECT_LE(form.sizeHint().height(), 230);
    EXPECT_LE(form.sizeHint().width(), 1366);
}

}  // namespace
}  // namespace kvt::test
