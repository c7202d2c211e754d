// CListPageWidget: a tab page that is one list: the page's model in a CListView filling the page.
// Pages with context menus or their own painting build on it.
//
// Thread contract: user interface thread only. Ownership: owns the model; the rows belong to
// the page's logic, which outlives the widget.
#pragma once

#include <QWidget>

#include "client/shell/ListModel.h"

namespace kvt {

class CListView;

class CListPageWidget : public QWidget {
public:
    CListPageWidget(CListRows& rows, QWidget* parent = nullptr);

    CListView& View() const { return *m_view; }
    CListModel& Model() { return m_model; }

private:
    CListModel m_model;
    CListView* m_view;
};

}  // namespace kvt
