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

#include <array>
#include <cstddef>
#include <optional>
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

// A list's column as the list declares it: title, width, alignment and the field of its record it
// shows. Each record type has one vocabulary of fields (an enum) and one function from (record,
// field) to text, so that two lists showing the same field show the same text, and adding a
// column is one line of a declaration.
template <class Field>
struct CFieldColumn {
    constexpr CFieldColumn(std::string_view title, int width, Field shown, EAlign align = EAlign::Center)
        : column{title, width, align}, field(shown) {}
    CListColumn column;
    Field field;
};

// The columns of a declaration without their fields, as CListRows::Columns gives them.
template <class Field, std::size_t N>
constexpr std::array<CListColumn, N> PlainColumns(const CFieldColumn<Field> (&columns)[N]) {
    std::array<CListColumn, N> plain{};
    for (std::size_t i = 0; i < N; ++i) plain[i] = columns[i].column;
    return plain;
}

struct CRgb {
    int red;
    int green;
    int blue;
    bool operator==(const CRgb&) const = default;
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

    // How a cell is drawn where its text alone does not say it (the quotation page's marks): the
    // text as drawn, with any mark; its own colour, when it has one (otherwise the view's, which
    // follows the selection); the row's background, when it has one. The model offers them as
    // roles, and the view paints from the model.
    virtual std::string DrawnText(int row, int column) const { return CellText(row, column); }
    virtual std::optional<CRgb> TextColour(int row, int column) const { return (void)row, (void)column, std::nullopt; }
    virtual std::optional<CRgb> Background(int row) const { return (void)row, std::nullopt; }

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
