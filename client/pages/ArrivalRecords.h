// CArrivalRecords<Record>: the record store of a list whose rows are its records in arrival order
// (the 报单 and 成交单 pages): a typed record table keyed by index 0, plus the row of every stored
// copy, so that a record announced again finds its row with one key search and one hash lookup
// rather than a scan. Records are never removed; a copy keeps its address and its row for the
// life of the store.
//
// Thread contract: user interface thread only. Ownership: owns the copies.
#pragma once

#include <unordered_map>

#include "client/shell/TypedRecordTable.h"

namespace kvt {

template <class Record>
class CArrivalRecords {
public:
    explicit CArrivalRecords(RecordCompare key) : m_table({key}) {}

    int Size() const { return static_cast<int>(m_table.Size()); }
    const Record& At(int row) const { return m_table.At(static_cast<std::size_t>(row)); }
    // The stored copy with the probe's key, or null.
    const Record* Find(const Record& probe) const { return m_table.Find(probe); }

    // Overwrites the stored copy with the record's key, which must be stored; returns its row.
    // A single index: the copy with the same key is overwritten in place, never added.
    int Overwrite(const Record& record) { return m_rowOf.at(m_table.Upsert(record).record); }
    // Stores a copy as the last row; returns the copy.
    const Record* Append(const Record& record) {
        const Record* stored = m_table.Insert(record);
        m_rowOf.emplace(stored, Size() - 1);
        return stored;
    }

private:
    CTypedRecordTable<Record> m_table;
    std::unordered_map<const Record*, int> m_rowOf;
};

}  // namespace kvt
