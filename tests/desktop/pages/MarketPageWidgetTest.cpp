#include <gtest/gtest.h>

#include <QAction>
#include <QImage>
#include <QMenu>
#include <QPainter>
#include <cmath>
#include <memory>

#include "client/ClientTestSupport.h"
#include "client/pages/MarketPagesTestSupport.h"
#include "client/pages/PagePosition.h"
#include "client/pages/PageQuotation.h"
#include "client/pages/ui/PositionPageWidget.h"
#include "client/pages/ui/QuotationDelegate.h"
#include "client/pages/ui/QuotationPageWidget.h"
#include "client/pages/ui/RowContextMenu.h"
#include "client/shell/ui/ListView.h"

namespace kvt::test {
namespace {

QStringList Texts(const QMenu& menu) {
    QStringList texts;
    for (const QAction* action : menu.actions()) texts << action->text();
    return texts;
}

QPoint CentreOf(const CListView& view, int row, int column = 0) {
    return view.visualRect(view.model()->index(row, column)).center();
}

TEST(PositionPageWidgetTest, MenuOverAClientRowOnlyPrefillsFromTheSelectedPosition) {
    CClientHarness harness;
    CRecordedPrefill prefill;
    CPagePosition page(harness.api, harness.requests, &prefill);
    CPositionPageWidget widget(page);
    widget.resize(700, 300);
    widget.show();
    const TTRspMsg rsp = Response();
    TYqMemberPosi member{};
    quorex::SetText(member.memberID, "0001");
    quorex::SetText(member.instID, "000001");
    member.accountType = '0';
    TYqClientPosi client{};
    quorex::SetText(client.memberID, "0001");
    quorex::SetText(client.instID, "000001");
    quorex::SetText(client.clientID, "00010011");
    client.longPosi = 4;
    page.onRecvRspQryYqMemberPosi(&member, rsp);
    page.onRecvRspQryYqClientPosi(&client, rsp);
    ASSERT_EQ(page.RowCount(), 3);

    EXPECT_EQ(CreateRowMenu(widget.View(), page, CentreOf(widget.View(), 1)), nullptr);  // subtotal
    EXPECT_EQ(CreateRowMenu(widget.View(), page, CentreOf(widget.View(), 2)), nullptr);  // total
    const std::unique_ptr<QMenu> menu = CreateRowMenu(widget.View(), page, CentreOf(widget.View(), 0, 3));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Texts(*menu), (QStringList{"转让买入", "转让卖出"}));
    EXPECT_EQ(widget.View().selectionModel()->selectedRows().value(0).row(), 0);
    menu->actions().at(1)->trigger();
    ASSERT_EQ(prefill.fromPositions.size(), 1u);
    EXPECT_EQ(prefill.fromPositions[0].direction, 's');
    EXPECT_EQ(prefill.fromPositions[0].position.longPosi, 4);

    // A refresh while the menu is open leaves nothing selected: the item does nothing.
    page.OnMessage(WM_PAGE_REFRESH, 0, 0);
    menu->actions().at(0)->trigger();
    EXPECT_EQ(prefill.fromPositions.size(), 1u);
}

class QuotationPageWidgetTest : public testing::Test {
protected:
    QuotationPageWidgetTest() {
        widget.resize(1100, 300);
        widget.show();
    }
    void Deliver(const TYqQuotation& quotation) {
        const TTRspMsg rsp = Response();
        page.onRecvYqQuotation(&quotation, rsp);
    }
    // The cell painted by the delegate alone, on white.
    QImage Painted(int row, int column, bool selected = false) {
        const QModelIndex index = widget.View().model()->index(row, column);
        QStyleOptionViewItem option;
        option.initFrom(&widget.View());
        option.rect = QRect(0, 0, 80, 20);
        option.state = selected ? QStyle::State_Selected | QStyle::State_Enabled : QStyle::State_Enabled;
        QImage image(80, 20, QImage::Format_RGB32);
        image.fill(Qt::white);
        QPainter painter(&image);
        widget.Delegate().paint(&painter, option, index);
        return image;
    }
    static bool Contains(const QImage& image, QColor colour) {
        for (int y = 0; y < image.height(); ++y) {
            for (int x = 0; x < image.width(); ++x) {
                if (image.pixelColor(x, y) == colour) return true;
            }
        }
        return false;
    }

    CClientHarness harness;
    CRecordedPrefill prefill;
    CPageQuotation page{harness.api, &prefill};
    CQuotationPageWidget widget{page};
};

TEST_F(QuotationPageWidgetTest, MenuItemsActOnTheSelectedRowEvenAfterRowsMoved) {
    Deliver(Quotation("000002", "HRB0602", 4010));
    const std::unique_ptr<QMenu> menu = CreateRowMenu(widget.View(), page, CentreOf(widget.View(), 0));
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(Texts(*menu), (QStringList{"买入新订", "卖出新订", "转让卖出", "转让买入"}));
    EXPECT_EQ(CreateRowMenu(widget.View(), page, QPoint(5, 250)), nullptr);  // below the rows

    Deliver(Quotation("000001", "HRB0601", 3990));  // goes above the selected row
    menu->actions().at(3)->trigger();
    ASSERT_EQ(prefill.fromQuotations.size(), 1u);
    EXPECT_EQ(quorex::FieldText(prefill.fromQuotations[0].quotation.instID), "000002");
    EXPECT_EQ(prefill.fromQuotations[0].direction, 'b');
    EXPECT_EQ(prefill.fromQuotations[0].offsetFlag, '1');
}

TEST_F(QuotationPageWidgetTest, CellsArePaintedOnTheirBandWithRisingRedAndFallingGreenMarks) {
    Deliver(Quotation("000001", "HRB0601", 4040));
    Deliver(Quotation("000002", "WRC0601", 3940));
    page.onRecvReqSendOver();  // the window is shown once the initial download has ended

    const QImage rising = Painted(0, CPageQuotation::kUpDownColumn);
    EXPECT_EQ(rising.pixelColor(1, 1), QColor(225, 225, 225));
    EXPECT_TRUE(Contains(rising, QColor(255, 0, 0)));
    const QImage falling = Painted(1, CPageQuotation::kUpDownRateColumn);
    EXPECT_EQ(falling.pixelColor(1, 1), QColor(255, 255, 255));
    EXPECT_TRUE(Contains(falling, QColor(0, 128, 0)));
    EXPECT_FALSE(Contains(falling, QColor(255, 0, 0)));

    const QImage selected = Painted(0, 1, true);
    EXPECT_EQ(selected.pixelColor(1, 1), widget.View().palette().highlight().color());
}

}  // namespace
}  // namespace kvt::test
