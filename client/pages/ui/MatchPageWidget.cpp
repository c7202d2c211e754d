// CMatchPageWidget: the match list.
#include "client/pages/ui/MatchPageWidget.h"

#include "client/pages/PageMatch.h"

namespace kvt {

CMatchPageWidget::CMatchPageWidget(CPageMatch& page, QWidget* parent) : CListPageWidget(page, parent) {}

}  // namespace kvt
