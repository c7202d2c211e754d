// The list pages' context menus from their logic's menu items.
#include "client/pages/ui/RowContextMenu.h"

#include <QMenu>

#include "client/pages/RowMenu.h"
#include "client/shell/ui/ListView.h"

namespace kvt {

namespace {

int SelectedRow(const CListView& view) {
    const QModelIndexList rows = view.selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.front().row();
}

}  // namespace

std::unique_ptr<QMenu> CreateRowMenu(CListView& view, CRowMenu& menu, QPoint viewportPos) {
    const int row = view.indexAt(viewportPos).row();
    if (row < 0) return nullptr;
    const std::span<const std::string_view> items = menu.MenuItems(row);
    if (items.empty()) return nullptr;
    view.selectRow(row);
    auto popup = std::make_unique<QMenu>(&view);
    for (std::size_t i = 0; i < items.size(); ++i) {
        const QString text = QString::fromUtf8(items[i].data(), static_cast<qsizetype>(items[i].size()));
        QObject::connect(popup->addAction(text), &QAction::triggered, &view, [&view, &menu, item = static_cast<int>(i)] {
            const int selected = SelectedRow(view);
            if (selected >= 0) menu.OnMenuItem(selected, item);
        });
    }
    return popup;
}

void AttachRowMenu(CListView& view, CRowMenu& menu) {
    view.SetPageMenu([&view, &menu](const QPoint& pos) { return CreateRowMenu(view, menu, pos); });
}

}  // namespace kvt
