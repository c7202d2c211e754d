// CListView: the shared look and keys of every list page.
#include "client/shell/ui/ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <utility>

#include "client/shell/ListModel.h"

namespace kvt {

CListView::CListView(CListModel& model, QWidget* parent) : QTableView(parent), m_model(model) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setTabKeyNavigation(false);
    setShowGrid(false);
    setWordWrap(false);
    setContextMenuPolicy(Qt::CustomContextMenu);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    QHeaderView* header = horizontalHeader();
    header->setHighlightSections(false);
    header->setSectionsClickable(false);
    header->setMouseTracking(true);
    header->setStretchLastSection(false);
    header->setDefaultAlignment(Qt::AlignCenter);
    connect(&model, &CListModel::rowShown, this, [this](int row) { ShowRow(row); });
}

void CListView::AttachModel() {
    if (model() != nullptr) return;
    setModel(&m_model);
    for (int column = 0; column < m_model.columnCount(); ++column) {
        const std::size_t index = static_cast<std::size_t>(column);
        setColumnWidth(column, m_model.Rows().Columns()[index].width);
    }
    if (m_rowToShow >= 0) ShowPendingRow();
}

void CListView::showEvent(QShowEvent* event) {
    AttachModel();
    QTableView::showEvent(event);
}

void CListView::ShowRow(int row) {
    const bool scheduled = m_rowToShow >= 0;
    m_rowToShow = row;
    if (!scheduled) QMetaObject::invokeMethod(this, [this] { ShowPendingRow(); }, Qt::QueuedConnection);
}

void CListView::ShowPendingRow() {
    // A view not yet shown keeps the row for when it is.
    if (model() == nullptr) return;
    const int row = std::exchange(m_rowToShow, -1);
    if (row >= m_model.rowCount()) return;
    selectRow(row);
    scrollTo(m_model.index(row, 0));
}

void CListView::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        emit focusParent();
        return;
    }
    QTableView::keyPressEvent(event);
}

}  // namespace kvt
