// CCheckRows: the ticks of a check-box list, one per row, kept in step with the rows: a row
// inserted at i moves the ticks from i on one row down, a row deleted moves them up, so every tick
// stays with its row. It also counts the ticked rows.
//
// Thread contract: user interface thread only.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace kvt {

class CCheckRows {
public:
    void Insert(int row, bool checked = false);
    void Erase(int row);
    void Clear();
    void Set(int row, bool checked);
    bool IsChecked(int row) const { return m_ticks[static_cast<std::size_t>(row)] != 0; }
    int CheckedCount() const { return m_checked; }
    int Size() const { return static_cast<int>(m_ticks.size()); }

private:
    std::vector<std::uint8_t> m_ticks;
    int m_checked = 0;
};

}  // namespace kvt
