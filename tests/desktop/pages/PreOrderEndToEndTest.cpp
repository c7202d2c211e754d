// Pre-orders through KvtTrade's windows with the advanced controls: three parked from the form,
// kept in the pre-order file when the connection is lost, loaded again by a new start on the same
// trading day, sent together, accepted by exchange-sim and gone from the page.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>

#include <csignal>

#include "DesktopSession.h"
#include "client/pages/PreOrderFile.h"
#include "client/pages/ui/OrderFormWidget.h"
#include "client/shell/ui/MainWindow.h"

using namespace kvt;
using namespace kvt::test;

namespace {

void ParkOrder(COrderFormWidget& form, const char* price) {
    form.Instrument().lineEdit()->clear();
    QTest::keyClicks(form.Instrument().lineEdit(), "LW2601");
    form.TradingCodeEdit().setText("0001");
    form.PriceEdit().setText(price);
    form.AmountEdit().setText("1");
    form.OrderKindRadio(EOrderKind::BuyOpen).click();
    form.PreOrderButton().click();
}

// The library's own per-trader files (sync points, clock, received log) go, and with them the
// simulator's folder of the day, so the next run starts a fresh day; the settings and the
// pre-order file stay.
void RemoveLibraryFiles(const std::filesystem::path& directory) {
    for (const auto& entry : std::filesystem::directory_iterator(directory)) {
        const std::string name = entry.path().filename().string();
        if (name != "kvtsys.data" && name.find("YqPreOrder") == std::string::npos) std::filesystem::remove_all(entry);
    }
}

}  // namespace

// A shutdown or the end of the desktop session sends SIGTERM: the program logs out and keeps its
// parked orders, as the close box does.
TEST(PreOrderEndToEnd, SigtermLogsOutAndKeepsTheParkedOrders) {
    CDesktopSession session;
    session.options.advanced = true;
    ASSERT_NE(session.simulator->port, 0);
    ASSERT_TRUE(session.LogIn());
    CApplication& app = *session.application;
    ASSERT_TRUE(WaitUntil([&] { return app.OrderForm().Instrument().count() == 3; }));
    for (const char* price : {"3301", "3302"}) ParkOrder(app.OrderForm(), price);
    const std::filesystem::path file = session.directory / "00010001YqPreOrder.data";
    ASSERT_FALSE(std::filesystem::exists(file));
    const std::string tradeDate = app.Requests().TradeDate();

    ::raise(SIGTERM);
    ASSERT_TRUE(WaitUntil([&] { return !app.Window().isVisible(); }));
    EXPECT_EQ(session.requests->counts["logout"], 1);
    for (const auto& box : session.prompter.boxes) EXPECT_NE(box.text, "通讯中断，请重新登陆!");
    session.application.reset();
    ASSERT_TRUE(std::filesystem::exists(file));
    const std::optional<std::string> image = ReadPreOrderFile(file.string());
    ASSERT_TRUE(image.has_value());
    EXPECT_EQ(DecodePreOrderFile(*image, tradeDate).size(), 2u);
}

TEST(PreOrderEndToEnd, ParkedOrdersSurviveALostConnectionAndGoOutAfterTheNextLogin) {
    char pattern[] = "/tmp/kvt-preorders-XXXXXX";
    const std::filesystem::path directory = ::mkdtemp(pattern);
    {
        CDesktopSession session({}, directory);
        session.options.advanced = true;
        ASSERT_NE(session.simulator->port, 0);
        ASSERT_TRUE(session.LogIn());
        CApplication& app = *session.application;
        EXPECT_FALSE(app.Window().BatchButton().isHidden());
        EXPECT_EQ(app.Tabs().Title(7), "预埋单");
        ASSERT_TRUE(WaitUntil([&] { return app.OrderForm().Instrument().count() == 3; }));
        for (const char* price : {"3301", "3302", "3303"}) ParkOrder(app.OrderForm(), price);
        ASSERT_EQ(app.Pages().PreOrders().RowCount(), 3);
        EXPECT_EQ(app.Pages().PreOrders().CellText(2, 1), "00000003");
        EXPECT_EQ(app.Pages().Orders().RowCount(), 0);

        session.simulator->Stop();
        ASSERT_TRUE(WaitUntil([&] { return !app.Window().isVisible(); }));
        ASSERT_EQ(session.prompter.boxes.back().text, "通讯中断，请重新登陆!");
    }
    ASSERT_TRUE(std::filesystem::exists(directory / "00010001YqPreOrder.data"));
    RemoveLibraryFiles(directory);
    {
        CDesktopSession session({}, directory);
        session.options.advanced = true;
        ASSERT_TRUE(session.LogIn());
        CPagePreOrder& preOrders = session.application->Pages().PreOrders();
        ASSERT_TRUE(WaitUntil([&] { return preOrders.RowCount() == 3; }));
        EXPECT_EQ(preOrders.CellText(0, 1), "00000001");
        EXPECT_EQ(preOrders.CellText(1, 5), "3302");
        preOrders.Run(EPreOrderCommand::SendAll);
        EXPECT_EQ(session.prompter.boxes.back().text, "确定发送所有预埋单?");
        ASSERT_TRUE(WaitUntil([&] { return preOrders.RowCount() == 0; }));
        CPageOrderList& orders = session.application->Pages().Orders();
        ASSERT_TRUE(WaitUntil([&] { return orders.RowCount() == 3; }));
        for (int row = 0; row < 3; ++row) EXPECT_EQ(orders.CellText(row, 5), std::to_string(3301 + row));
        EXPECT_EQ(session.requests->counts["order"], 3);
    }
    std::filesystem::remove_all(directory);
}
