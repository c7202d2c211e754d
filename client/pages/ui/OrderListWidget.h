// COrderListWidget: the widget of both order pages (报单 and 未成交单): the page's list with its
// check boxes, and the context menu that the page's logic offers for the ticks as they are when
// the right button is pressed.
//
// Thread contract: user interface thread only. Ownership: the page's logic outlives the widget.
#pragma once

#include <memory>

#include "client/pages/ui/ListPageWidget.h"

class QMenu;

namespace kvt {

class COrderListBase;

class COrderListWidget : public CListPageWidget {
public:
    explicit COrderListWidget(COrderListBase& page, QWidget* parent = nullptr);
    ~COrderListWidget() override;

    // The page's menu items as actions that run them.
    std::unique_ptr<QMenu> CreateContextMenu();

private:
    COrderListBase& m_page;
};

}  // namespace kvt
