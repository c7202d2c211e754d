// CPositionPageWidget: the 订货量 tab page, the position list with its context menu over client
// rows (转让买入, 转让卖出).
//
// Thread contract: user interface thread only. Ownership: the page's logic is borrowed and
// outlives the widget.
#pragma once

#include "client/pages/ui/ListPageWidget.h"

namespace kvt {

class CPagePosition;

class CPositionPageWidget : public CListPageWidget {
public:
    explicit CPositionPageWidget(CPagePosition& page, QWidget* parent = nullptr);
};

}  // namespace kvt
