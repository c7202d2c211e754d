// CQuotationPageWidget: the list page with the quotation delegate and menu.
#include "client/pages/ui/QuotationPageWidget.h"

#include "client/pages/PageQuotation.h"
#include "client/pages/ui/QuotationDelegate.h"
#include "client/pages/ui/RowContextMenu.h"
#include "client/shell/ui/ListView.h"

namespace kvt {

CQuotationPageWidget::CQuotationPageWidget(CPageQuotation& page, QWidget* parent)
    : CListPageWidget(page, parent), m_delegate(new CQuotationDelegate(this)) {
    View().setItemDelegate(m_delegate);
    AttachRowMenu(View(), page);
}

}  // namespace kvt
