// What a trader takes away from the lists and keeps between runs, through the real windows: every
// tab page's menu ends with "导出…", which writes the list as shown; the column widths and the
// splitter the trader chose come back at the next start, from KvtTrade.ini beside kvtsys.data.
#include <QAction>
#include <QMenu>

#include "DesktopSession.h"
#include "ScratchFiles.h"
#include "client/shell/ListExport.h"
#include "client/shell/ui/ListView.h"
#include "client/shell/ui/MainWindow.h"
#include "client/shell/ui/TabControlWidget.h"

using namespace kvt;
using namespace kvt::test;

namespace {

CListView& ListOfPage(CApplication& app, int page) {
    CListView* list = app.TabWidget().PageWidget(page)->findChild<CListView*>();
    EXPECT_NE(list, nullptr) << app.Tabs().Title(page);
    return *list;
}

}  // namespace

TEST(ListLayoutEndToEnd, EveryListExportsWhatItShowsAndKeepsItsWidthsAndTheSplitter) {
    CDesktopSession session;
    ASSERT_NE(session.simulator->port, 0) << "exchange-sim did not start";
    ASSERT_TRUE(session.LogIn());
    CApplication& app = *session.application;
    ASSERT_TRUE(WaitUntil([&] { return app.ShowsAccountAndMarket(); }));

    // The page's own items keep their places; "导出…" comes after them, alone where a page has none.
    for (int page = 0; page < app.Tabs().PageCount(); ++page) {
        CListView& list = ListOfPage(app, page);
        app.Tabs().OnTabPressed(page);
        const std::unique_ptr<QMenu> menu = list.CreateContextMenu(list.visualRect(list.model()->index(0, 0)).center());
        ASSERT_NE(menu, nullptr) << app.Tabs().Title(page);
        EXPECT_EQ(menu->actions().last()->text(), QStringLiteral("导出…")) << app.Tabs().Title(page);
    }
    EXPECT_EQ(ListOfPage(app, 5).CreateContextMenu(QPoint(5, 5))->actions().size(), 1);  // 资金: no items of its own

    // The quotation board as shown, marks included, into the file the trader chose.
    session.prompter.savePath = (session.directory / "board.csv").string();
    CListView& board = ListOfPage(app, 0);
    board.CreateContextMenu(QPoint(5, 5))->actions().last()->trigger();
    ASSERT_EQ(session.prompter.saveBoxes.size(), 1u);
    EXPECT_EQ(session.prompter.saveBoxes[0].text.substr(0, 7), "行情-");
    EXPECT_EQ(FileBytes(session.prompter.savePath), ListCsv(app.Pages().Quotations()));
    EXPECT_EQ(FileBytes(session.prompter.savePath).substr(0, 3), "\xEF\xBB\xBF");

    // The trader widens a column of 报单 and moves the splitter; the program ends.
    CListView& orders = ListOfPage(app, 1);
    app.Tabs().OnTabPressed(1);
    orders.setColumnWidth(2, 123);
    const std::vector<int> chosen = orders.ColumnWidths();
    app.Window().SetFormHeight(app.Window().FormHeight() + 40);
    const int formHeight = app.Window().FormHeight();
    const std::filesystem::path directory = session.directory;
    session.application.reset();
    EXPECT_EQ(std::filesystem::file_size(directory / "kvtsys.data"), 56u);
    ASSERT_TRUE(std::filesystem::exists(directory / "KvtTrade.ini"));

    // The next start lays the window out as it was left.
    CApplicationHooks hooks;
    hooks.prompter = &session.prompter;
    CApplication again(session.options, hooks);
    EXPECT_EQ(ListOfPage(again, 1).ColumnWidths(), chosen);
    EXPECT_EQ(ListOfPage(again, 1).ColumnWidths()[2], 123);
    again.Window().show();
    again.Tabs().OnTabPressed(1);
    QCoreApplication::processEvents();
    EXPECT_EQ(again.Window().FormHeight(), formHeight);
    EXPECT_EQ(ListOfPage(again, 1).ColumnWidths(), chosen);  // shown, from the kept widths
}
