// CQuotationPageWidget: the 行情 tab page, the quotation list painted by CQuotationDelegate, with
// its context menu over rows (买入新订, 卖出新订, 转让卖出, 转让买入).
//
// Thread contract: user interface thread only. Ownership: the page's logic is borrowed and
// outlives the widget; the widget owns its delegate.
#pragma once

#include "client/pages/ui/ListPageWidget.h"

namespace kvt {

class CPageQuotation;
class CQuotationDelegate;

class CQuotationPageWidget : public CListPageWidget {
public:
    explicit CQuotationPageWidget(CPageQuotation& page, QWidget* parent = nullptr);

    CQuotationDelegate& Delegate() const { return *m_delegate; }

private:
    CQuotationDelegate* m_delegate;
};

}  // namespace kvt
