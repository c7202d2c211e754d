// CCheckRows: one byte per row; insertion and deletion shift the bytes behind the row.
#include "client/shell/CheckRows.h"

namespace kvt {

void CCheckRows::Insert(int row, bool checked) {
    m_ticks.insert(m_ticks.begin() + row, checked ? 1 : 0);
    if (checked) ++m_checked;
}

void CCheckRows::Erase(int row) {
    if (IsChecked(row)) --m_checked;
    m_ticks.erase(m_ticks.begin() + row);
}

void CCheckRows::Clear() {
    m_ticks.clear();
    m_checked = 0;
}

void CCheckRows::Set(int row, bool checked) {
    if (IsChecked(row) == checked) return;
    m_ticks[static_cast<std::size_t>(row)] = checked ? 1 : 0;
    m_checked += checked ? 1 : -1;
}

}  // namespace kvt
