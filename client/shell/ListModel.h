// CListModel: the table model of one list, over a page's CListRows. It answers the view from the
// page (display texts, alignment, the check state of column 0 in check-box lists, editable cells,
// and the drawn texts and colours of lists that draw their cells)
// and turns the page's change notifications into Qt's: rows inserted and removed in ranges, one
// dataChanged per changed range, resets. A click on a check box goes to the page, which decides
// the tick. Requests to show a row are passed on with the rowShown signal.
//
// Thread contract: user interface thread only. Ownership: observes the rows, does not own them;
// the rows must outlive the model or be detached first (the destructor detaches).
#pragma once

#include <QAbstractTableModel>
#include <QTimer>

#include "client/shell/ListRows.h"

namespace kvt {

class CListModel : public QAbstractTableModel, private CListObserver {
    Q_OBJECT
public:
    static constexpr int kChangeIntervalMs = 50;
    // How a cell is drawn beyond its display text (CListRows::DrawnText, TextColour, Background):
    // the drawn text as a string, the colours as 0xRRGGBB numbers, nothing where a list has none.
    // The model lives in Qt Core; a delegate turns the numbers into colours.
    static constexpr int kDrawnTextRole = Qt::UserRole + 1;
    static constexpr int kTextColourRole = Qt::UserRole + 2;
    static constexpr int kBackgroundRole = Qt::UserRole + 3;

    explicit CListModel(CListRows& rows, QObject* parent = nullptr);
    ~CListModel() override;

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;

    CListRows& Rows() const { return m_rows; }

signals:
    void rowShown(int row);

private:
    void BeginInsert(int first, int count) override;
    void EndInsert() override;
    void BeginRemove(int first, int count) override;
    void EndRemove() override;
    void RowsChanged(int first, int last) override;
    void BeginReset() override;
    void EndReset() override;
    void ShowRow(int row) override;
    void FlushChanges();

    CListRows& m_rows;
    // Rows changed and not yet announced; first > last when none.
    int m_changedFirst = 1;
    int m_changedLast = 0;
    QTimer m_changeTimer;  // announces the changes gathered since it started
};

// Qt's alignment flags for a column's alignment, vertically centred.
Qt::Alignment AlignmentOf(EAlign align);

}  // namespace kvt
