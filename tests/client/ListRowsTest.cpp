// The list family without widgets: ticks that move with their rows, and the table model's view of
// a page's rows and changes.
#include <gtest/gtest.h>

#include <QSignalSpy>

#include "QtCoreTestSupport.h"
#include "client/shell/CheckRows.h"
#include "client/shell/ListModel.h"

using namespace kvt;

namespace {

// Rows of numbers with check boxes; a click ticks only even numbers.
class CNumberRows : public CListRows {
public:
    int RowCount() const override { return static_cast<int>(numbers.size()); }
    std::span<const CListColumn> Columns() const override { return kColumns; }
    std::string CellText(int row, int column) const override {
        return column == 0 ? "" : std::to_string(numbers[static_cast<std::size_t>(row)]);
    }
    bool HasCheckBoxes() const override { return true; }
    bool IsRowChecked(int row) const override { return ticks.IsChecked(row); }
    void OnCheckClicked(int row, bool checked) override {
        ticks.Set(row, checked && numbers[static_cast<std::size_t>(row)] % 2 == 0);
    }
    void Insert(int row, int number) {
        BeginInsert(row, 1);
        numbers.insert(numbers.begin() + row, number);
        ticks.Insert(row);
        EndInsert();
    }
    void Erase(int row) {
        BeginRemove(row, 1);
        numbers.erase(numbers.begin() + row);
        ticks.Erase(row);
        EndRemove();
    }
    void Change(int first, int last) { RowsChanged(first, last); }

    static constexpr CListColumn kColumns[] = {{"", 16}, {"数", 40, EAlign::Left}};
    std::vector<int> numbers;
    CCheckRows ticks;
};

// The model's timer for changed cells needs an event loop.
class ListModel : public kvt::test::QtCoreTest {};

TEST(CheckRows, TicksMoveWithTheirRowsAndAreCounted) {
    CCheckRows ticks;
    for (int i = 0; i < 3; ++i) ticks.Insert(i);
    ticks.Set(1, true);
    ticks.Set(2, true);
    ticks.Erase(0);
    EXPECT_TRUE(ticks.IsChecked(0));
    EXPECT_TRUE(ticks.IsChecked(1));
    ticks.Insert(0);
    EXPECT_FALSE(ticks.IsChecked(0));
    EXPECT_TRUE(ticks.IsChecked(1) && ticks.IsChecked(2));
    EXPECT_EQ(ticks.CheckedCount(), 2);
    ticks.Set(2, true);
    EXPECT_EQ(ticks.CheckedCount(), 2);
    ticks.Erase(1);
    EXPECT_EQ(ticks.CheckedCount(), 1);
    ticks.Clear();
    EXPECT_EQ(ticks.Size(), 0);
    EXPECT_EQ(ticks.CheckedCount(), 0);
}

TEST_F(ListModel, ShowsTheRowsTextsAlignmentAndTicks) {
    CNumberRows rows;
    CListModel model(rows);
    rows.Insert(0, 4);
    rows.Insert(1, 5);
    ASSERT_EQ(model.rowCount(), 2);
    ASSERT_EQ(model.columnCount(), 2);
    EXPECT_EQ(model.data(model.index(1, 1), Qt::DisplayRole).toString(), QStringLiteral("5"));
    EXPECT_EQ(model.headerData(1, Qt::Horizontal, Qt::DisplayRole).toString(), QStringLiteral("数"));
    EXPECT_EQ(model.data(model.index(0, 1), Qt::TextAlignmentRole).value<Qt::Alignment>(),
              Qt::AlignLeft | Qt::AlignVCenter);
    EXPECT_TRUE(model.flags(model.index(0, 0)) & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(model.flags(model.index(0, 1)) & Qt::ItemIsUserCheckable);

    // The page decides: 5 refuses the tick, 4 takes it.
    model.setData(model.index(1, 0), Qt::Checked, Qt::CheckStateRole);
    model.setData(model.index(0, 0), Qt::Checked, Qt::CheckStateRole);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Checked);

    // A row inserted above keeps the tick with its row.
    rows.Insert(0, 7);
    EXPECT_EQ(model.data(model.index(1, 0), Qt::CheckStateRole).toInt(), Qt::Checked);
    EXPECT_EQ(model.data(model.index(0, 0), Qt::CheckStateRole).toInt(), Qt::Unchecked);
}

TEST_F(ListModel, ChangesReachTheViewInRangesBeforeTheRowsMove) {
    CNumberRows rows;
    CListModel model(rows);
    QSignalSpy inserted(&model, &QAbstractItemModel::rowsInserted);
    QSignalSpy removed(&model, &QAbstractItemModel::rowsRemoved);
    QSignalSpy changed(&model, &QAbstractItemModel::dataChanged);
    for (int i = 0; i < 5; ++i) rows.Insert(i, i);
    // Changes gather until the next structural change (or a short timer) and go out as one range.
    rows.Change(3, 3);
    rows.Change(1, 1);
    rows.Change(2, 2);
    EXPECT_EQ(changed.count(), 0);
    rows.Erase(2);
    EXPECT_EQ(inserted.count(), 5);
    ASSERT_EQ(changed.count(), 1);
    EXPECT_EQ(changed[0][0].toModelIndex().row(), 1);
    EXPECT_EQ(changed[0][1].toModelIndex().row(), 3);
    EXPECT_EQ(changed[0][1].toModelIndex().column(), 1);
    ASSERT_EQ(removed.count(), 1);
    EXPECT_EQ(removed[0][1].toInt(), 2);
    EXPECT_EQ(model.rowCount(), 4);
}

}  // namespace
