// The list family's logic, without widgets. A page's logic derives from CListRows: it says how
// many rows it has, its columns and the text of each cell, and it tells an observer (the page's
// table model) about every change as it makes it: rows inserted or removed in ranges, cells
// rewritten in ranges, everything reset. Cell texts are formed when asked for, from the page's
// stored records, so a record that changes costs one notification and no formatting until a row
// is shown.
//
// A check-box list (orders, unmatched orders, pre-orders) keeps one tick per row in column 0
// (CCheckRows, which moves the ticks with their rows); a click reaches the page through
// OnCheckClicked, and the page decides what the tick becomes.
//
// Thread contract: user interface thread only.
#pragma once

#include <span>
#include <string>
#include <string_view>

namespace kvt {

enum class EAlign { Left, Center, Right };

struct CListColumn {
    std::string_view title;  // UTF-8
    int width;
    EAlign align = EAlign::Center;
};

class CListObserver {
public:
    virtual ~CListObserver() = default;
    // Rows [first, first + count) are about to be inserted, then EndInsert says they are there.
    virtual void BeginInsert(int first, int count) = 0;
    virtual void EndInsert() = 0;
    virtual void BeginRemove(int first, int count) = 0;
    virtual void EndRemove() = 0;
    // Cells of rows first to last (inclusive), all columns, have new contents.
    virtual void RowsChanged(int first, int last) = 0;
    virtual void BeginReset() = 0;
    virtual void EndReset() = 0;
    // The page asks for a row to be shown and selected (a new order, a new pre-order).
    virtual void ShowRow(int row) { (void)row; }
};

class CListRows {
public:
    virtual ~CListRows() = default;

    virtual int RowCount() const = 0;
    virtual std::span<const CListColumn> Columns() const = 0;
    // UTF-8.
    virtual std::string CellText(int row, int column) const = 0;

    virtual bool HasCheckBoxes() const { return false; }
    virtual bool IsRowChecked(int row) const { return (void)row, false; }
    // A click on a row's check box, which now shows checked.
    virtual void OnCheckClicked(int row, bool checked) { (void)row, (void)checked; }
    // An editable cell (the amount beside the check box of the indenture selection).
    virtual bool IsCellEditable(int row, int column) const { return (void)row, (void)column, false; }
    virtual void SetCellText(int row, int column, std::string_view utf8) { (void)row, (void)column, (void)utf8; }

    void SetObserver(CListObserver* observer) { m_observer = observer; }

protected:
    // Each pair brackets one change of the rows, so the observer sees counts that match.
    void BeginInsert(int first, int count) { if (m_observer) m_observer->BeginInsert(first, count); }
    void EndInsert() { if (m_observer) m_observer->EndInsert(); }
    void BeginRemove(int first, int count) { if (m_observer) m_observer->BeginRemove(first, count); }
    void EndRemove() { if (m_observer) m_observer->EndRemove(); }
    void RowsChanged(int first, int last) { if (m_observer) m_observer->RowsChanged(first, last); }
    void BeginReset() { if (m_observer) m_observer->BeginReset(); }
    void EndReset() { if (m_observer) m_observer->EndReset(); }
    void ShowRow(int row) { if (m_observer) m_observer->ShowRow(row); }

private:
    CListObserver* m_observer = nullptr;
};

}  // namespace kvt
