// CRecordTable: block storage of record copies and the fan-out to the indexes.
#include "client/shell/RecordTable.h"

#include <cstdint>
#include <cstring>

#include "client/shell/ClientErrors.h"

namespace kvt {

CRecordTable::CRecordTable(std::size_t recordSize, std::initializer_list<RecordCompare> indexes)
    : m_recordSize(recordSize) {
    if (recordSize == 0) throw CDesignError(kRecordTableZeroSize, kModuleRecordTable, __LINE__);
    if (indexes.size() == 0 || indexes.size() > kMaxIndexes) {
        throw CDesignError(kRecordTableWithoutIndex, kModuleRecordTable, __LINE__);
    }
    for (RecordCompare compare : indexes) m_indexes.emplace_back(compare);
    AddBlock();
}

const void* CRecordTable::Insert(const void* record) {
    if (m_size == m_blocks.size() * kRecordsPerBlock) AddBlock();
    unsigned char* slot = Slot(m_size);
    std::memcpy(slot, record, m_recordSize);
    ++m_size;
    for (CRecordIndex& index : m_indexes) index.Insert(slot);
    return slot;
}

const void* CRecordTable::Find(const void* probe) const { return m_indexes.front().FindFirst(probe); }

CRecordTable::CUpsert CRecordTable::Upsert(const void* record) {
    const void* stored = Find(record);
    if (stored == nullptr) return {Insert(record), true};
    // The indexes whose key changes lose the copy while it still compares by its old key.
    std::uint32_t rekeyed = 0;
    for (std::size_t i = 1; i < m_indexes.size(); ++i) {
        if (m_indexes[i].Compare()(stored, record) == 0) continue;
        m_indexes[i].Remove(stored);
        rekeyed |= std::uint32_t{1} << i;
    }
    // The table owns its copies; they are handed out read-only to keep the indexes sorted.
    std::memcpy(const_cast<void*>(stored), record, m_recordSize);
    for (std::size_t i = 1; i < m_indexes.size(); ++i) {
        if ((rekeyed & (std::uint32_t{1} << i)) != 0) m_indexes[i].Insert(stored);
    }
    return {stored, false};
}

void CRecordTable::Clear() {
    m_blocks.clear();
    m_size = 0;
    for (CRecordIndex& index : m_indexes) index.Clear();
    AddBlock();
}

const void* CRecordTable::At(std::size_t i) const { return Slot(i); }

void CRecordTable::AddBlock() {
    // The block list grows by 128 entries at a time.
    if (m_blocks.size() == m_blocks.capacity()) m_blocks.reserve(m_blocks.size() + kRecordsPerBlock);
    // new[] aligns for any fundamental type, and a record's size is a multiple of its alignment.
    m_blocks.push_back(std::make_unique<unsigned char[]>(kRecordsPerBlock * m_recordSize));
}

unsigned char* CRecordTable::Slot(std::size_t i) const {
    return m_blocks[i / kRecordsPerBlock].get() + (i % kRecordsPerBlock) * m_recordSize;
}

}  // namespace kvt
