// CQuotationDelegate: backgrounds, marks and colours of the drawn cells, from the model's roles.
#include "client/pages/ui/QuotationDelegate.h"

#include <QPainter>

#include "client/shell/ListModel.h"

namespace kvt {

namespace {

constexpr int kTextMargin = 3;

// A colour role's number 0xRRGGBB as a colour; none when the role is empty.
std::optional<QColor> ColourOf(const QVariant& number) {
    if (!number.isValid()) return std::nullopt;
    return QColor::fromRgb(static_cast<QRgb>(number.toUInt()));
}

}  // namespace

void CQuotationDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const {
    if (!index.isValid()) return;
    const bool selected = option.state.testFlag(QStyle::State_Selected);
    painter->save();
    const std::optional<QColor> background = ColourOf(index.data(CListModel::kBackgroundRole));
    painter->fillRect(option.rect, selected ? option.palette.highlight().color() : background.value_or(Qt::white));
    const QString text = index.data(CListModel::kDrawnTextRole).toString();
    if (!text.isEmpty()) {
        const std::optional<QColor> own = ColourOf(index.data(CListModel::kTextColourRole));
        const QColor normal = selected ? option.palette.highlightedText().color() : QColor(Qt::black);
        painter->setPen(own.value_or(normal));
        painter->setFont(option.font);
        const Qt::Alignment alignment = index.column() == 0 ? (Qt::AlignLeft | Qt::AlignVCenter)
                                                            : index.data(Qt::TextAlignmentRole).value<Qt::Alignment>();
        painter->drawText(option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0), static_cast<int>(alignment) | Qt::TextSingleLine,
                          text);
    }
    painter->restore();
}

}  // namespace kvt
