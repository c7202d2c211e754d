// CPreOrderPageWidget: the pre-order page on screen: the page's list with its check boxes, and
// the right-button menu built from the page's items for the ticks at that moment; choosing an
// item runs the page's command.
//
// Thread contract: user interface thread only. Ownership: the page belongs to its owner and
// outlives the widget; each menu lives while it is shown.
#pragma once

#include <memory>

#include "client/pages/ui/ListPageWidget.h"

class QMenu;

namespace kvt {

class CPagePreOrder;

class CPreOrderPageWidget : public CListPageWidget {
public:
    explicit CPreOrderPageWidget(CPagePreOrder& page, QWidget* parent = nullptr);

    // The menu for the current ticks, its actions wired to the page's commands.
    std::unique_ptr<QMenu> CreateContextMenu();

private:
    CPagePreOrder& m_page;
};

}  // namespace kvt
