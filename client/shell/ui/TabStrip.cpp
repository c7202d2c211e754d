// CTabStrip: painting, hit testing and keys of the tab row.
#include "client/shell/ui/TabStrip.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>

#include "client/shell/PageTabCtrl.h"
#include "client/shell/ui/TabStripAccessible.h"

namespace kvt {

namespace {

const QColor kCurrentTab(204, 216, 228);
const QColor kOtherTab(200, 200, 200);
constexpr int kTabPadding = 14;
constexpr int kTabGap = 2;

}  // namespace

QFont TabFont() {
    QFont font(QStringLiteral("仿宋体"));
    font.setPointSizeF(9.5);
    return font;
}

CTabStrip::CTabStrip(CPageTabCtrl& tabs, QWidget* parent) : QWidget(parent), m_tabs(tabs) {
    InstallTabStripAccessibility();
    setFont(TabFont());
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    setAutoFillBackground(false);
}

QSize CTabStrip::sizeHint() const { return QSize(200, fontMetrics().height() + 10); }

int CTabStrip::TabWidth(int index) const {
    return fontMetrics().horizontalAdvance(QString::fromStdString(m_tabs.Title(index))) + 2 * kTabPadding;
}

QRect CTabStrip::TabRect(int index) const {
    int left = kTabGap;
    for (int i = 0; i < index; ++i) left += TabWidth(i) + kTabGap;
    return QRect(left, 2, TabWidth(index), height() - 4);
}

int CTabStrip::TabAt(const QPoint& point) const {
    for (int i = 0; i < m_tabs.PageCount(); ++i) {
        if (TabRect(i).contains(point)) return i;
    }
    return -1;
}

void CTabStrip::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.fillRect(rect(), kOtherTab);
    painter.setFont(font());
    for (int i = 0; i < m_tabs.PageCount(); ++i) {
        const QRect tab = TabRect(i);
        const bool current = i == m_tabs.CurrentIndex();
        painter.fillRect(tab, current ? kCurrentTab : kOtherTab);
        // Button-like edges: light above and left, dark below and right; pressed for the current tab.
        painter.setPen(current ? palette().color(QPalette::Dark) : palette().color(QPalette::Light));
        painter.drawLine(tab.topLeft(), tab.topRight());
        painter.drawLine(tab.topLeft(), tab.bottomLeft());
        painter.setPen(current ? palette().color(QPalette::Light) : palette().color(QPalette::Dark));
        painter.drawLine(tab.bottomLeft(), tab.bottomRight());
        painter.drawLine(tab.topRight(), tab.bottomRight());
        painter.setPen(Qt::black);
        painter.drawText(tab, Qt::AlignCenter | Qt::TextSingleLine, QString::fromStdString(m_tabs.Title(i)));
    }
    if (hasFocus() && m_tabs.PageCount() > 0) {
        painter.setPen(QPen(Qt::black, 1, Qt::DotLine));
        painter.drawRect(TabRect(m_tabs.CurrentIndex()).adjusted(3, 3, -4, -4));
    }
}

void CTabStrip::mousePressEvent(QMouseEvent* event) {
    setFocus(Qt::MouseFocusReason);
    if (event->button() == Qt::LeftButton) m_tabs.OnTabPressed(TabAt(event->position().toPoint()));
}

void CTabStrip::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left: m_tabs.OnArrowKey(-1); return;
        case Qt::Key_Right: m_tabs.OnArrowKey(+1); return;
        case Qt::Key_Return:
        case Qt::Key_Enter: m_tabs.OnEnterKey(); return;
        default: QWidget::keyPressEvent(event);
    }
}

}  // namespace kvt
