// CTabControlWidget: the lower pane, the tab row over the page that CPageTabCtrl shows. The page
// widgets are added in tab order; pages without a tab (the pre-order page while it has none) live
// hidden beside them.
//
// Thread contract: user interface thread only.
#pragma once

#include <QWidget>

#include "client/shell/PageTabCtrl.h"

class QStackedWidget;

namespace kvt {

class CTabStrip;

class CTabControlWidget : public QWidget, private CTabObserver {
public:
    explicit CTabControlWidget(CPageTabCtrl& tabs, QWidget* parent = nullptr);
    ~CTabControlWidget() override;

    // The widget of the logic's next page, in the order the pages were added.
    void AddPageWidget(QWidget* page);
    // A page kept hidden, without a tab.
    void AddHiddenWidget(QWidget* page);

    CTabStrip& Strip() const { return *m_strip; }
    QWidget* PageWidget(int index) const;

private:
    void TabsChanged() override;
    void CurrentChanged(int index) override;
    void FocusCurrentPage() override;
    void FocusTabs() override;

    CPageTabCtrl& m_tabs;
    CTabStrip* m_strip;
    QStackedWidget* m_stack;
};

}  // namespace kvt
