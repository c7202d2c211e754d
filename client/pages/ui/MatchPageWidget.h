// CMatchPageWidget: the widget of the 成交单 page, its list with the subtotal row at the bottom.
//
// Thread contract: user interface thread only. Ownership: the page's logic outlives the widget.
#pragma once

#include "client/pages/ui/ListPageWidget.h"

namespace kvt {

class CPageMatch;

class CMatchPageWidget : public CListPageWidget {
public:
    explicit CMatchPageWidget(CPageMatch& page, QWidget* parent = nullptr);
};

}  // namespace kvt
