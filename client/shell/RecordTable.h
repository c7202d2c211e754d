// CRecordTable: the record store of one list page. It holds copies of records of one fixed size,
// in arrival order, in blocks of 128 records; a stored record never moves, so indexes and list
// rows may keep pointers to it until the table is cleared. Each record is entered into every
// index; index 0 answers Find.
//
// Thread contract: none; used on the user interface thread only.
// Ownership: the table owns the record copies and its indexes.
#pragma once

#include <cstddef>
#include <deque>
#include <initializer_list>
#include <memory>
#include <vector>

#include "client/shell/RecordIndex.h"

namespace kvt {

class CRecordTable {
public:
    static constexpr std::size_t kRecordsPerBlock = 128;
    static constexpr std::size_t kMaxIndexes = 32;

    // One index per compare function, index 0 first. Throws CDesignError for a record size of 0,
    // no compare function, a null one, or more than kMaxIndexes.
    CRecordTable(std::size_t recordSize, std::initializer_list<RecordCompare> indexes);
    CRecordTable(const CRecordTable&) = delete;
    CRecordTable& operator=(const CRecordTable&) = delete;

    // Copies the record (recordSize bytes) into the next free slot and enters it into every index;
    // records with equal keys are all kept. Returns the stored copy.
    const void* Insert(const void* record);
    // The first stored record whose index-0 key equals the probe's, or null.
    const void* Find(const void* probe) const;

    struct CUpsert {
        const void* record;  // the stored copy
        bool inserted;       // false: an existing record was overwritten in place
    };
    // Overwrites the first stored record with the same index-0 key, or inserts the record when
    // there is none. An overwritten record keeps its place in arrival order and in every index
    // whose key it keeps; an index whose key changed takes it out first and puts it back by its
    // new key (after the records already there with that key).
    CUpsert Upsert(const void* record);

    // Frees every block, starts again with one empty block, and clears every index.
    void Clear();

    std::size_t Size() const { return m_size; }
    std::size_t RecordSize() const { return m_recordSize; }
    // The i-th stored record in arrival order; i < Size().
    const void* At(std::size_t i) const;
    const CRecordIndex& Index(std::size_t i) const { return m_indexes[i]; }
    std::size_t IndexCount() const { return m_indexes.size(); }

private:
    void AddBlock();
    unsigned char* Slot(std::size_t i) const;

    std::size_t m_recordSize;
    std::deque<CRecordIndex> m_indexes;
    std::vector<std::unique_ptr<unsigned char[]>> m_blocks;
    std::size_t m_size = 0;
};

}  // namespace kvt
