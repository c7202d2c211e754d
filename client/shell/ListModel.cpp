// CListModel: Qt's model interface answered from a page's rows.
#include "client/shell/ListModel.h"

#include <QCoreApplication>
#include <QTimer>
#include <algorithm>
#include <utility>

namespace kvt {
namespace {

QVariant RgbNumber(const std::optional<CRgb>& rgb) {
    if (!rgb) return {};
    return static_cast<unsigned>(rgb->red << 16 | rgb->green << 8 | rgb->blue);
}

}  // namespace

Qt::Alignment AlignmentOf(EAlign align) {
    switch (align) {
        case EAlign::Left: return Qt::AlignLeft | Qt::AlignVCenter;
        case EAlign::Right: return Qt::AlignRight | Qt::AlignVCenter;
        case EAlign::Center: break;
    }
    return Qt::AlignCenter;
}

CListModel::CListModel(CListRows& rows, QObject* parent) : QAbstractTableModel(parent), m_rows(rows) {
    m_rows.SetObserver(this);
    m_changeTimer.setSingleShot(true);
    m_changeTimer.setInterval(kChangeIntervalMs);
    connect(&m_changeTimer, &QTimer::timeout, this, [this] { FlushChanges(); });
}

CListModel::~CListModel() { m_rows.SetObserver(nullptr); }

int CListModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_rows.RowCount(); }

int CListModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.Columns().size());
}

QVariant CListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= m_rows.RowCount()) return {};
    const int row = index.row();
    const int column = index.column();
    switch (role) {
        case Qt::DisplayRole:
        case Qt::EditRole: return QString::fromStdString(m_rows.CellText(row, column));
        case Qt::TextAlignmentRole:
            return QVariant::fromValue(AlignmentOf(m_rows.Columns()[static_cast<std::size_t>(column)].align));
        case Qt::CheckStateRole:
            if (column == 0 && m_rows.HasCheckBoxes()) return m_rows.IsRowChecked(row) ? Qt::Checked : Qt::Unchecked;
            return {};
        // A screen reader reads a cell as it is drawn, marks included.
        case Qt::AccessibleTextRole:
        case kDrawnTextRole: return QString::fromStdString(m_rows.DrawnText(row, column));
        case kTextColourRole: return RgbNumber(m_rows.TextColour(row, column));
        case kBackgroundRole: return RgbNumber(m_rows.Background(row));
        default: return {};
    }
}

QVariant CListModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount()) return {};
    const CListColumn& column = m_rows.Columns()[static_cast<std::size_t>(section)];
    if (role == Qt::DisplayRole) return QString::fromUtf8(column.title.data(), static_cast<qsizetype>(column.title.size()));
    if (role == Qt::TextAlignmentRole) return QVariant::fromValue(AlignmentOf(column.align));
    return {};
}

Qt::ItemFlags CListModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    if (index.column() == 0 && m_rows.HasCheckBoxes()) flags |= Qt::ItemIsUserCheckable;
    if (m_rows.IsCellEditable(index.row(), index.column())) flags |= Qt::ItemIsEditable;
    return flags;
}

bool CListModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid()) return false;
    if (role == Qt::CheckStateRole && index.column() == 0 && m_rows.HasCheckBoxes()) {
        // The page decides what the tick becomes; it reports the row as changed either way.
        m_rows.OnCheckClicked(index.row(), value.toInt() == Qt::Checked);
        emit dataChanged(index, index, {Qt::CheckStateRole});
        return true;
    }
    if (role == Qt::EditRole && m_rows.IsCellEditable(index.row(), index.column())) {
        m_rows.SetCellText(index.row(), index.column(), value.toString().toStdString());
        emit dataChanged(index, index);
        return true;
    }
    return false;
}

void CListModel::BeginInsert(int first, int count) {
    FlushChanges();
    beginInsertRows(QModelIndex(), first, first + count - 1);
}
void CListModel::EndInsert() { endInsertRows(); }
void CListModel::BeginRemove(int first, int count) {
    FlushChanges();
    beginRemoveRows(QModelIndex(), first, first + count - 1);
}
void CListModel::EndRemove() { endRemoveRows(); }

void CListModel::RowsChanged(int first, int last) {
    if (m_changedFirst > m_changedLast) {
        m_changedFirst = first;
        m_changedLast = last;
    } else {
        m_changedFirst = std::min(m_changedFirst, first);
        m_changedLast = std::max(m_changedLast, last);
    }
    // Without an event loop (a model used on its own) there is nothing to wait for.
    if (QCoreApplication::instance() == nullptr) return FlushChanges();
    // One timer for all: an insert or a removal announces the changes before it at once, and the
    // running timer takes whatever changes after it (a timer per change would make a busy day's
    // timers pile up, each costing a walk of all the pending ones).
    if (!m_changeTimer.isActive()) m_changeTimer.start();
}

void CListModel::FlushChanges() {
    if (m_changedFirst > m_changedLast) return;
    const int first = std::exchange(m_changedFirst, 1);
    const int last = std::min(std::exchange(m_changedLast, 0), rowCount() - 1);
    if (first <= last) emit dataChanged(index(first, 0), index(last, columnCount() - 1));
}

void CListModel::BeginReset() {
    FlushChanges();
    beginResetModel();
}
void CListModel::EndReset() { endResetModel(); }
void CListModel::ShowRow(int row) { emit rowShown(row); }

}  // namespace kvt
