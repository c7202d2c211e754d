// CPreOrderPageWidget: the list, and the context menu from the page's items.
#include "client/pages/ui/PreOrderPageWidget.h"

#include <QMenu>

#include "client/pages/PagePreOrder.h"
#include "client/shell/ui/ListView.h"

namespace kvt {

CPreOrderPageWidget::CPreOrderPageWidget(CPagePreOrder& page, QWidget* parent)
    : CListPageWidget(page, parent), m_page(page) {
    View().SetPageMenu([this](const QPoint&) { return CreateContextMenu(); });
}

std::unique_ptr<QMenu> CPreOrderPageWidget::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    for (const CPreOrderMenuItem& item : m_page.MenuItems()) {
        QAction* action = menu->addAction(QString::fromUtf8(item.text.data(), static_cast<qsizetype>(item.text.size())));
        const EPreOrderCommand command = item.command;
        connect(action, &QAction::triggered, this, [this, command] { m_page.Run(command); });
    }
    return menu;
}

}  // namespace kvt
