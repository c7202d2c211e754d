// CTabStrip: the tab row of the lower pane, drawn by itself: button-like tabs in "仿宋体" 9.5 pt
// (an installed CJK font stands in where it is missing), the current tab filled with 204,216,228,
// the others and the background with 200,200,200, each title centred on one line. A mouse press
// and the arrow keys go to CPageTabCtrl, which decides what is shown; Enter gives the focus to the
// shown page. To a screen reader the strip is a page tab list of its tabs (TabStripAccessible).
//
// Thread contract: user interface thread only.
#pragma once

#include <QWidget>

namespace kvt {

class CPageTabCtrl;

class CTabStrip : public QWidget {
public:
    explicit CTabStrip(CPageTabCtrl& tabs, QWidget* parent = nullptr);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }
    // The rectangle of the tab at index, in the strip's coordinates.
    QRect TabRect(int index) const;
    int TabAt(const QPoint& point) const;
    CPageTabCtrl& Tabs() const { return m_tabs; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    int TabWidth(int index) const;

    CPageTabCtrl& m_tabs;
};

// The tab font: "仿宋体" at 9.5 points.
QFont TabFont();

}  // namespace kvt
