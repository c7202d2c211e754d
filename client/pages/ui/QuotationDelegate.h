// CQuotationDelegate: paints the cells of a list that draws its cells (the 行情 list) from what its
// model says (CListModel's drawn-text and colour roles): the row's background (or the desktop's
// highlight on the selected row), then the cell's drawn text single-line and vertically centred,
// column 0 left-aligned and the others as their column says, in the cell's own colour, or, for a
// cell without one, the view's text colour (the highlight text colour on the selected row).
//
// Thread contract: user interface thread only.
#pragma once

#include <QStyledItemDelegate>

namespace kvt {

class CQuotationDelegate : public QStyledItemDelegate {
public:
    explicit CQuotationDelegate(QObject* parent = nullptr) : QStyledItemDelegate(parent) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override;
};

}  // namespace kvt
