// CTypedRecordTable<Record>: a CRecordTable of one record type, so that the compiler, not a size
// check at run time, keeps records of another type out and no caller casts what comes back. It
// has the same operations, typed, and hands out the untyped table for code that takes one.
//
// Thread contract: none; used on the user interface thread only.
// Ownership: the table owns the record copies and its indexes; returned pointers stay valid until
// Clear.
#pragma once

#include <cstddef>
#include <initializer_list>
#include <type_traits>

#include "client/shell/RecordTable.h"

namespace kvt {

template <class Record>
class CTypedRecordTable {
    static_assert(std::is_trivially_copyable_v<Record>, "records are stored as byte copies");

public:
    // One index per compare function (comparing two Records), index 0 first.
    explicit CTypedRecordTable(std::initializer_list<RecordCompare> indexes) : m_table(sizeof(Record), indexes) {}

    const Record* Insert(const Record& record) { return Typed(m_table.Insert(&record)); }
    const Record* Find(const Record& probe) const { return Typed(m_table.Find(&probe)); }

    struct CUpsert {
        const Record* record;  // the stored copy
        bool inserted;         // false: an existing record was overwritten in place
    };
    CUpsert Upsert(const Record& record) {
        const CRecordTable::CUpsert result = m_table.Upsert(&record);
        return {Typed(result.record), result.inserted};
    }

    void Clear() { m_table.Clear(); }
    std::size_t Size() const { return m_table.Size(); }
    // The i-th stored record in arrival order; i < Size().
    const Record& At(std::size_t i) const { return *Typed(m_table.At(i)); }
    const CRecordIndex& Index(std::size_t i) const { return m_table.Index(i); }
    std::size_t IndexCount() const { return m_table.IndexCount(); }

    const CRecordTable& Untyped() const { return m_table; }

private:
    static const Record* Typed(const void* record) { return static_cast<const Record*>(record); }

    CRecordTable m_table;
};

}  // namespace kvt
