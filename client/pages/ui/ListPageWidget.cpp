// CListPageWidget: the list view over the page's model, edge to edge.
#include "client/pages/ui/ListPageWidget.h"

#include <QVBoxLayout>

#include "client/shell/ui/ListView.h"

namespace kvt {

CListPageWidget::CListPageWidget(CListRows& rows, QWidget* parent)
    : QWidget(parent), m_model(rows), m_view(new CListView(m_model, this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_view);
    setFocusProxy(m_view);
}

}  // namespace kvt
