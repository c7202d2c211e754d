// CQuotationDelegate: background bands, marks and colours of the quotation cells.
#include "client/pages/ui/QuotationDelegate.h"

#include <QPainter>

#include "client/pages/PageQuotation.h"
#include "client/shell/ListModel.h"

namespace kvt {

namespace {

constexpr int kTextMargin = 3;

QColor ToQColor(CRgb rgb) { return QColor(rgb.red, rgb.green, rgb.blue); }

}  // namespace

CQuotationDelegate::CQuotationDelegate(CPageQuotation& page, QObject* parent) : QStyledItemDelegate(parent), m_page(page) {}

void CQuotationDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    const int row = index.row();
    const int column = index.column();
    if (row < 0 || row >= m_page.RowCount()) return;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    const int band = m_page.RowBand(row);
    painter->fillRect(option.rect, selected ? option.palette.highlight().color() : QColor(band, band, band));
    const CQuoteCell cell = m_page.DrawnCell(row, column);
    if (!cell.text.empty()) {
        const bool followsSelection = selected && cell.tone == EQuoteTone::Normal;
        painter->setPen(followsSelection ? option.palette.highlightedText().color() : ToQColor(ColourOf(cell.tone)));
        painter->setFont(option.font);
        const Qt::Alignment alignment =
            column == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                        : AlignmentOf(m_page.Columns()[static_cast<std::size_t>(column)].align);
        painter->drawText(option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0), static_cast<int>(alignment) | Qt::TextSingleLine,
                          QString::fromStdString(cell.text));
    }
    painter->restore();
}

}  // namespace kvt
