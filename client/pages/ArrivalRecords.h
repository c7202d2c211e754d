// CArrivalRecords: the record store of a list whose rows are its records in arrival order (the
// 报单 and 成交单 pages): a CRecordTable keyed by index 0, plus the row of every stored copy, so
// that a record announced again finds its row with one key search and one hash lookup rather than
// a scan. Records are never removed; a copy keeps its address and its row for the life of the
// store.
//
// Thread contract: user interface thread only. Ownership: owns the copies.
#pragma once

#include <unordered_map>

#include "client/shell/RecordTable.h"

namespace kvt {

class CArrivalRecords {
public:
    CArrivalRecords(std::size_t recordSize, RecordCompare key) : m_table(recordSize, {key}) {}

    int Size() const { return static_cast<int>(m_table.Size()); }
    const void* At(int row) const { return m_table.At(static_cast<std::size_t>(row)); }
    // The stored copy with the probe's key, or null.
    const void* Find(const void* probe) const { return m_table.Find(probe); }

    // Overwrites the stored copy with the record's key, which must be stored; returns its row.
    int Overwrite(const void* record);
    // Stores a copy as the last row; returns the copy.
    const void* Append(const void* record);

private:
    CRecordTable m_table;
    std::unordered_map<const void*, int> m_rowOf;
};

}  // namespace kvt
