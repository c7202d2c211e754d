// CArrivalRecords: a record table with the row of each copy.
#include "client/pages/ArrivalRecords.h"

namespace kvt {

int CArrivalRecords::Overwrite(const void* record) {
    // A single index: the copy with the same key is overwritten in place, never added.
    return m_rowOf.at(m_table.Upsert(record).record);
}

const void* CArrivalRecords::Append(const void* record) {
    const void* stored = m_table.Insert(record);
    m_rowOf.emplace(stored, Size() - 1);
    return stored;
}

}  // namespace kvt
