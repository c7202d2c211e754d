// CTabControlWidget: the tab row and a stack of page widgets that follows the current tab.
#include "client/shell/ui/TabControlWidget.h"

#include <QStackedWidget>
#include <QVBoxLayout>

#include "client/shell/ui/ListView.h"
#include "client/shell/ui/TabStrip.h"

namespace kvt {

CTabControlWidget::CTabControlWidget(CPageTabCtrl& tabs, QWidget* parent)
    : QWidget(parent), m_tabs(tabs), m_strip(new CTabStrip(tabs, this)), m_stack(new QStackedWidget(this)) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_strip);
    layout->addWidget(m_stack, 1);
    m_tabs.SetObserver(this);
}

CTabControlWidget::~CTabControlWidget() { m_tabs.SetObserver(nullptr); }

void CTabControlWidget::AddPageWidget(QWidget* page) {
    m_stack->addWidget(page);
    // The keyboard lists give the focus back to the tab row on Enter.
    for (CListView* list : page->findChildren<CListView*>()) {
        connect(list, &CListView::focusParent, m_strip, [this] { m_strip->setFocus(Qt::OtherFocusReason); });
    }
    CurrentChanged(m_tabs.CurrentIndex());
}

void CTabControlWidget::AddHiddenWidget(QWidget* page) {
    page->setParent(this);
    page->hide();
}

QWidget* CTabControlWidget::PageWidget(int index) const { return m_stack->widget(index); }

void CTabControlWidget::TabsChanged() {
    m_strip->updateGeometry();
    m_strip->update();
}

void CTabControlWidget::CurrentChanged(int index) {
    if (index < m_stack->count()) m_stack->setCurrentIndex(index);
    m_strip->update();
}

void CTabControlWidget::FocusCurrentPage() {
    if (QWidget* page = m_stack->currentWidget()) page->setFocus(Qt::OtherFocusReason);
}

void CTabControlWidget::FocusTabs() { m_strip->setFocus(Qt::OtherFocusReason); }

}  // namespace kvt
