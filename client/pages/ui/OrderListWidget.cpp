// COrderListWidget: the order list and its context menu.
#include "client/pages/ui/OrderListWidget.h"

#include <QMenu>

#include "client/pages/OrderListBase.h"
#include "client/shell/ui/ListView.h"

namespace kvt {

COrderListWidget::COrderListWidget(COrderListBase& page, QWidget* parent)
    : CListPageWidget(page, parent), m_page(page) {
    View().SetPageMenu([this](const QPoint&) { return CreateContextMenu(); });
}

COrderListWidget::~COrderListWidget() = default;

std::unique_ptr<QMenu> COrderListWidget::CreateContextMenu() {
    auto menu = std::make_unique<QMenu>(this);
    for (EOrderMenuItem item : m_page.MenuItems()) {
        const std::string_view text = MenuItemText(item);
        menu->addAction(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())), this,
                        [this, item] { m_page.RunMenuItem(item); });
    }
    return menu;
}

}  // namespace kvt
