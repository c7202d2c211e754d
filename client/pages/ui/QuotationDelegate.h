// CQuotationDelegate: paints the cells of the 行情 list as the quotation page's logic says: the
// row's product group band (or the desktop's highlight on the selected row), then the cell's text
// single-line and vertically centred, column 0 left-aligned and the others as their column says,
// in the cell's tone (the highlight text colour for normal text on the selected row).
//
// Thread contract: user interface thread only. Ownership: the page is borrowed and outlives the
// delegate.
#pragma once

#include <QStyledItemDelegate>

namespace kvt {

class CPageQuotation;

class CQuotationDelegate : public QStyledItemDelegate {
public:
    explicit CQuotationDelegate(CPageQuotation& page, QObject* parent = nullptr);

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CPageQuotation& m_page;
};

}  // namespace kvt
