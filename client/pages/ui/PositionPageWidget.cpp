// CPositionPageWidget: the list page with the position page's menu.
#include "client/pages/ui/PositionPageWidget.h"

#include "client/pages/PagePosition.h"
#include "client/pages/ui/RowContextMenu.h"

namespace kvt {

CPositionPageWidget::CPositionPageWidget(CPagePosition& page, QWidget* parent) : CListPageWidget(page, parent) {
    AttachRowMenu(View(), page);
}

}  // namespace kvt
