// CListView: the shared look and keys of every list page.
#include "client/shell/ui/ListView.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QMenu>
#include <utility>

#include "client/shell/ListExport.h"
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
    connect(this, &QWidget::customContextMenuRequested, this, [this](const QPoint& pos) {
        if (const std::unique_ptr<QMenu> menu = CreateContextMenu(pos)) menu->exec(viewport()->mapToGlobal(pos));
    });
}

void CListView::EnableExport(CListExport& exporter, std::string pageTitle) {
    m_export = &exporter;
    m_pageTitle = std::move(pageTitle);
}

std::unique_ptr<QMenu> CListView::CreateContextMenu(const QPoint& viewportPos) {
    std::unique_ptr<QMenu> menu = m_pageMenu ? m_pageMenu(viewportPos) : nullptr;
    if (m_export == nullptr) return menu;
    if (menu) {
        menu->addSeparator();
    } else {
        menu = std::make_unique<QMenu>(this);
    }
    menu->addAction(QString::fromUtf8(kExportMenuItem.data(), static_cast<qsizetype>(kExportMenuItem.size())), this,
                    [this] { m_export->Export(m_model.Rows(), m_pageTitle); });
    return menu;
}

void CListView::KeepColumnWidths(std::vector<int> widths) {
    if (widths.size() != m_model.Rows().Columns().size()) return;
    m_keptWidths = std::move(widths);
    if (model() == nullptr) return;
    for (int column = 0; column < m_model.columnCount(); ++column) setColumnWidth(column, InitialWidth(column));
}

std::vector<int> CListView::ColumnWidths() const {
    std::vector<int> widths;
    for (int column = 0; column < m_model.columnCount(); ++column) {
        widths.push_back(model() != nullptr ? columnWidth(column) : InitialWidth(column));
    }
    return widths;
}

int CListView::InitialWidth(int column) const {
    const auto index = static_cast<std::size_t>(column);
    return m_keptWidths.empty() ? m_model.Rows().Columns()[index].width : m_keptWidths[index];
}

void CListView::AttachModel() {
    if (model() != nullptr) return;
    setModel(&m_model);
    for (int column = 0; column < m_model.columnCount(); ++column) setColumnWidth(column, InitialWidth(column));
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
